#include "catalogue/window/customisation_boxes.h"

#include "base/settings_store.h"

#include <QCheckBox>

namespace quintabel {

QString storedBoxValue(const QCheckBox& box)
{
    return box.checkState() == Qt::Checked ? QStringLiteral("1") : QStringLiteral("0");
}

void storeCustomisationBox(const QCheckBox& box, const QString& key)
{
    writeSetting(key, storedBoxValue(box));
}

void setCustomisationBoxFromSetting(QCheckBox& box, const QString& key)
{
    const bool ticked = readSetting(key, QStringLiteral("0")) != QStringLiteral("0");
    box.setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

} // namespace quintabel
