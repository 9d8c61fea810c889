#include "report/data/datacomponent.h"

#include "platform/text/gbk.h"

#include <algorithm>

namespace pemvora::report {

DataComponent::~DataComponent()
{
    // A watcher may unregister others while it is told; work on a copy.
    const std::vector<ComponentWatcher*> watchers = watchers_;
    watchers_.clear();
    for (ComponentWatcher* w : watchers) w->componentDestroyed(this);
}

void DataComponent::addWatcher(ComponentWatcher* watcher)
{
    if (std::find(watchers_.begin(), watchers_.end(), watcher) == watchers_.end()) watchers_.push_back(watcher);
}

void DataComponent::removeWatcher(ComponentWatcher* watcher)
{
    watchers_.erase(std::remove(watchers_.begin(), watchers_.end(), watcher), watchers_.end());
}

ComponentContainer::~ComponentContainer()
{
    for (DataComponent* c : components_) c->removeWatcher(this);
}

void ComponentContainer::add(DataComponent* component)
{
    if (!component || std::find(components_.begin(), components_.end(), component) != components_.end()) return;
    components_.push_back(component);
    component->addWatcher(this);
}

void ComponentContainer::remove(DataComponent* component)
{
    const auto it = std::find(components_.begin(), components_.end(), component);
    if (it == components_.end()) return;
    components_.erase(it);
    component->removeWatcher(this);
}

DataComponent* ComponentContainer::find(std::string_view name) const
{
    for (DataComponent* c : components_)
        if (text::equalsNoCase(c->Name(), name)) return c;
    return nullptr;
}

void ComponentContainer::componentDestroyed(DataComponent* component)
{
    components_.erase(std::remove(components_.begin(), components_.end(), component), components_.end());
}

} // namespace pemvora::report
