#include "app/login/operators.h"

namespace pemvora::app {

void addOperatorRow(data::Dataset& users)
{
    users.edit();
    users.append();
}

void deleteOperatorRow(data::Dataset& users)
{
    users.edit();
    if (users.recordCount() > 1) users.remove();
}

} // namespace pemvora::app
