#include "shell/pointer_rules.h"

#include "base/path_helpers.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFile>
#include <QImageReader>
#include <QMouseEvent>
#include <QPixmap>
#include <QWidget>
#include <QtEndian>

#include <stdexcept>

namespace quintabel {

namespace {

constexpr char kButtonRole[] = "quintabelPointerRole";
constexpr int kHoverShowsHand = 1;
constexpr int kHoverShowsDefault = 2;

// A .cur file starts with a 6-byte header (reserved 0, type 2, image count) and one 16-byte
// entry per image whose bytes 4..7 hold the hot spot's x and y (little-endian).
QPoint hotSpotOf(const QByteArray& header)
{
    const auto* bytes = reinterpret_cast<const uchar*>(header.constData());
    const bool isCursorFile = header.size() >= 22 && qFromLittleEndian<quint16>(bytes) == 0 &&
                              qFromLittleEndian<quint16>(bytes + 2) == 2 &&
                              qFromLittleEndian<quint16>(bytes + 4) >= 1;
    if (!isCursorFile)
        return {-1, -1};
    return {qFromLittleEndian<quint16>(bytes + 10), qFromLittleEndian<quint16>(bytes + 12)};
}

std::runtime_error unreadableCursor(const QString& cursorFile, const QString& reason)
{
    return std::runtime_error(QStringLiteral("The cursor file '%1' cannot be read: %2.")
                                  .arg(cursorFile, reason)
                                  .toStdString());
}

} // namespace

QString handCursorFile(const QString& programFolder)
{
    const QString besideProgram = programFolder + QLatin1Char('/') + QLatin1String(kHandCursorFileName);
    const QString installed = installedDataFolder(programFolder) + QLatin1Char('/') + QLatin1String(kHandCursorFileName);
    return !PathExists(besideProgram) && PathExists(installed) ? installed : besideProgram;
}

QCursor loadHandCursor(const QString& cursorFile)
{
    QFile file(cursorFile);
    if (!file.open(QIODevice::ReadOnly))
        throw unreadableCursor(cursorFile, file.errorString());
    const QPoint hotSpot = hotSpotOf(file.peek(22));
    if (hotSpot.x() < 0)
        throw unreadableCursor(cursorFile, QStringLiteral("it is not a Windows cursor file"));
    QImageReader reader(&file, "cur");
    const QImage image = reader.read();
    if (image.isNull())
        throw unreadableCursor(cursorFile, reader.errorString());
    return QCursor(QPixmap::fromImage(image), hotSpot.x(), hotSpot.y());
}

PointerRules::PointerRules(QWidget& window)
    : QObject(&window), window_(window)
{
    watchSurface(window);
    setShape(PointerShape::Default);
}

void PointerRules::setHandImage(const QCursor& hand)
{
    hand_ = hand;
    if (shape_ == PointerShape::Hand)
        setShape(PointerShape::Hand);
}

void PointerRules::watchButton(QAbstractButton& button)
{
    button.setProperty(kButtonRole, kHoverShowsHand);
    button.setMouseTracking(true);
    button.installEventFilter(this);
}

void PointerRules::watchSurface(QWidget& surface)
{
    surface.setProperty(kButtonRole, kHoverShowsDefault);
    surface.setMouseTracking(true);
    if (&surface != &window_)
        surface.unsetCursor();
    surface.installEventFilter(this);
}

void PointerRules::setShape(PointerShape shape)
{
    shape_ = shape;
    switch (shape) {
    case PointerShape::Busy:
        window_.setCursor(Qt::WaitCursor);
        break;
    case PointerShape::Hand:
        window_.setCursor(hand_ ? *hand_ : QCursor(Qt::ArrowCursor));
        break;
    case PointerShape::Default:
        window_.setCursor(Qt::ArrowCursor);
        break;
    }
}

void PointerRules::hoverShows(PointerShape shape)
{
    if (shape_ != PointerShape::Busy && shape_ != shape)
        setShape(shape);
}

bool PointerRules::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::Enter && type != QEvent::MouseMove)
        return false;
    const int role = watched->property(kButtonRole).toInt();
    if (role == kHoverShowsHand) {
        hoverShows(PointerShape::Hand);
        // A move over a button that no mouse button presses would travel on to the frame
        // behind it, which would put the default pointer back; it ends here instead.
        return type == QEvent::MouseMove &&
               static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton;
    }
    if (role == kHoverShowsDefault)
        hoverShows(PointerShape::Default);
    return false;
}

} // namespace quintabel
