#include "connections/sample_folder.h"

#include <QLineEdit>

namespace quintabel {

QString SampleFolderPath(const QString& programFolder)
{
    return programFolder + QLatin1Char('/') + QLatin1String(kSampleFolderName);
}

void LoadSampleDatabase(StepGuard& guard, QLineEdit& folderField, const QString& programFolder)
{
    guard.step(100, [&] { folderField.setText(SampleFolderPath(programFolder)); });
}

} // namespace quintabel
