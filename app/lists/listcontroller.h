#pragma once
// ListController: the record navigator of a reference-list window over one
// table cursor. Every move, insert or post goes through it, so that a pending
// row is never written without the table's checks: moving away from a
// modified row posts it after the checks (a refused check keeps the cursor
// where it is), moving away from an unmodified one gives it up.

#include "app/data/dataset.h"
#include "platform/ui/uiservices.h"

#include <functional>
#include <optional>
#include <string>

namespace pemvora::app {

namespace listtext {
inline constexpr const char* kMessageCaption = "提示";
inline constexpr const char* kDeleteQuestion = "删除当前记录吗?";
inline constexpr const char* kDeleteCaption = "确认";
} // namespace listtext

class ListController {
public:
    struct Rules {
        // Starts a numbered new row on the cursor (TData::start...Row).
        std::function<void(data::Dataset&)> startRow;
        // The message that refuses the post, or nothing when the row may go.
        std::function<std::optional<std::string>(data::Dataset&)> checkBeforePost;
    };

    ListController(data::Dataset& cursor, ui::UiServices& ui, Rules rules);

    data::Dataset& cursor() const { return cursor_; }

    // Each returns false when it did not happen (a refused check, a declined
    // question, an error shown in the error box).
    bool first();
    bool prior();
    bool next();
    bool last();
    bool moveToRecNo(int recNo);   // a grid's row change
    bool insert();
    bool remove();                 // asks first
    bool post();
    // Resolves a pending row before the cursor moves: posted after the checks
    // when modified, given up when not. True when the cursor is browsing now.
    bool settle();

private:
    template <typename F> bool guarded(F&& step);
    bool move(const std::function<void()>& step);

    data::Dataset& cursor_;
    ui::UiServices& ui_;
    Rules rules_;
};

} // namespace pemvora::app
