#pragma once
// Named components that report data sources refer to: the database datasets of
// the data layer, the data sources of bands, and the windows (or data modules)
// that hold them. A component tells its watchers when it is destroyed, so that
// references to it are cleared instead of left dangling.
//
// Names are engine text (GBK) and compare ignoring the case of ASCII letters.

#include <string>
#include <string_view>
#include <vector>

namespace pemvora::report {

class DataComponent;

class ComponentWatcher {
public:
    virtual void componentDestroyed(DataComponent* component) = 0;

protected:
    ~ComponentWatcher() = default;
};

class DataComponent {
public:
    explicit DataComponent(std::string name = {}) : name_(std::move(name)) {}
    virtual ~DataComponent();
    DataComponent(const DataComponent&) = delete;
    DataComponent& operator=(const DataComponent&) = delete;

    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

    void addWatcher(ComponentWatcher* watcher);
    void removeWatcher(ComponentWatcher* watcher);

private:
    std::string name_;
    std::vector<ComponentWatcher*> watchers_;
};

// A window or data module: components it holds, by name. It does not own them;
// a held component that is destroyed leaves the list by itself.
class ComponentContainer : public DataComponent, private ComponentWatcher {
public:
    using DataComponent::DataComponent;
    ~ComponentContainer() override;

    void add(DataComponent* component);
    void remove(DataComponent* component);
    DataComponent* find(std::string_view name) const;
    const std::vector<DataComponent*>& components() const { return components_; }

    // Every held component of type T, in the order they were added.
    template <class T>
    std::vector<T*> componentsOf() const
    {
        std::vector<T*> out;
        for (DataComponent* c : components_)
            if (auto* t = dynamic_cast<T*>(c)) out.push_back(t);
        return out;
    }

private:
    void componentDestroyed(DataComponent* component) override;
    std::vector<DataComponent*> components_;
};

} // namespace pemvora::report
