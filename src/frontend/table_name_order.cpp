#include "frontend/table_name_order.h"

namespace quintabel {

bool tableNameOrderLess(const QString& left, const QString& right)
{
    const int ignoringCase = left.compare(right, Qt::CaseInsensitive);
    if (ignoringCase != 0)
        return ignoringCase < 0;
    return left < right;
}

} // namespace quintabel
