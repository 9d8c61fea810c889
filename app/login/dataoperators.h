#pragma once
// The login's view of the data module: the `users` list and the `yh` look-up.

#include "app/data/tdata.h"
#include "app/login/login.h"

namespace pemvora::app {

class DataOperators : public OperatorDirectory {
public:
    explicit DataOperators(data::TData& data) : data_(data) {}

    // From the current row of `users` to its end, the second column (user_name).
    std::vector<std::string> loginNames() override
    {
        std::vector<std::string> names;
        for (; !data_.users.eof(); data_.users.next()) names.push_back(data_.users.text(1));
        return names;
    }
    bool hasOperator(const std::string& name, const std::string& password) override
    {
        return data_.login(name, password);
    }

private:
    data::TData& data_;
};

} // namespace pemvora::app
