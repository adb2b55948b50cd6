#include "shell/window_look.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QRadioButton>
#include <QWidget>

namespace quintabel {

namespace {

void paintBackground(QWidget& widget, const QColor& colour)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, colour);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

bool takesFaceColour(const QWidget* widget)
{
    return qobject_cast<const QLabel*>(widget) != nullptr ||
           qobject_cast<const QGroupBox*>(widget) != nullptr ||
           qobject_cast<const QCheckBox*>(widget) != nullptr ||
           qobject_cast<const QRadioButton*>(widget) != nullptr;
}

} // namespace

QColor buttonFaceColour()
{
    return QApplication::palette().color(QPalette::Active, QPalette::Button);
}

void ApplyFaceColour(QWidget& window)
{
    const QColor face = buttonFaceColour();
    paintBackground(window, face);
    const QList<QWidget*> children = window.findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (takesFaceColour(child))
            paintBackground(*child, face);
    }
}

void ApplySkin(QWidget& connectionWindow, const QString& programFolder)
{
    if (QFileInfo::exists(programFolder + QStringLiteral("/x/o.cjs")))
        ApplyFaceColour(connectionWindow);
}

} // namespace quintabel
