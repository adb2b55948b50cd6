#include "catalogue/window/customization_boxes.h"

#include "base/settings_store.h"

#include <QCheckBox>

namespace quintabel {

QString StoredBoxValue(const QCheckBox& box)
{
    return box.checkState() == Qt::Checked ? QStringLiteral("1") : QStringLiteral("0");
}

void StoreCustomizationBox(const QCheckBox& box, const QString& key)
{
    WriteSetting(key, StoredBoxValue(box));
}

void SetCustomizationBoxFromSetting(QCheckBox& box, const QString& key)
{
    const bool ticked = ReadSetting(key, QStringLiteral("0")) != QStringLiteral("0");
    box.setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

} // namespace quintabel
