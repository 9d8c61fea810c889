#include "app/lists/listcontroller.h"

#include "app/data/databaseerror.h"
#include "platform/value/value.h"

namespace pemvora::app {

using data::DatasetState;

ListController::ListController(data::Dataset& cursor, ui::UiServices& ui, Rules rules)
    : cursor_(cursor), ui_(ui), rules_(std::move(rules))
{
}

template <typename F> bool ListController::guarded(F&& step)
{
    try {
        return step();
    } catch (const data::DatabaseError& e) {
        ui_.error(e.what());
    } catch (const ConversionError& e) {
        ui_.error(e.what());
    }
    return false;
}

bool ListController::post()
{
    return guarded([this] {
        if (cursor_.state() != DatasetState::Edit && cursor_.state() != DatasetState::Insert) return true;
        if (rules_.checkBeforePost) {
            if (const auto message = rules_.checkBeforePost(cursor_)) {
                ui_.message(*message, listtext::kMessageCaption, ui::Icon::Information, ui::Buttons::Ok);
                return false;
            }
        }
        cursor_.post();
        return true;
    });
}

bool ListController::settle()
{
    const DatasetState state = cursor_.state();
    if (state != DatasetState::Edit && state != DatasetState::Insert) return true;
    if (cursor_.modified()) return post();
    cursor_.cancel();
    return true;
}

bool ListController::move(const std::function<void()>& step)
{
    if (!settle()) return false;
    return guarded([&] {
        step();
        return true;
    });
}

bool ListController::first() { return move([this] { cursor_.first(); }); }
bool ListController::prior() { return move([this] { cursor_.prior(); }); }
bool ListController::next() { return move([this] { cursor_.next(); }); }
bool ListController::last() { return move([this] { cursor_.last(); }); }
bool ListController::moveToRecNo(int recNo) { return move([this, recNo] { cursor_.setRecNo(recNo); }); }

bool ListController::insert()
{
    if (!settle()) return false;
    return guarded([this] {
        if (rules_.startRow) rules_.startRow(cursor_);
        else cursor_.append();
        return true;
    });
}

bool ListController::remove()
{
    if (!cursor_.isOpen() || (cursor_.isEmpty() && cursor_.state() != DatasetState::Insert)) return false;
    if (ui_.message(listtext::kDeleteQuestion, listtext::kDeleteCaption, ui::Icon::Question,
                    ui::Buttons::OkCancel) != ui::Answer::Ok)
        return false;
    return guarded([this] {
        cursor_.remove();
        return true;
    });
}

} // namespace pemvora::app
