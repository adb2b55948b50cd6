#pragma once
// The mouse pointer rules that every window of the program follows. The window has one
// pointer that shows over all its controls: the default arrow (shape 0), the busy pointer
// while a handler works (11), or the hand over a button (99). Moving the mouse never replaces
// the busy pointer. The hand's image comes from the cursor file "HAND-M.CUR" beside the
// program, or in an installed program's data folder; without it the hand shape shows the
// default arrow.

#include <QCursor>
#include <QObject>
#include <QString>

#include <optional>

class QAbstractButton;
class QWidget;

namespace quintabel {

enum class PointerShape { Default = 0, Busy = 11, Hand = 99 };

inline constexpr char kHandCursorFileName[] = "HAND-M.CUR";

// Where the windows look for the hand's image: "HAND-M.CUR" beside the program when it is
// there (a build folder), else the one in the installed data folder (base/path_helpers.h);
// the file beside the program, which is not there, when neither is.
QString handCursorFile(const QString& programFolder);

// The hand pointer read from a Windows cursor file (.cur), with the file's hot spot. Throws
// std::runtime_error when the file cannot be read as a cursor.
QCursor loadHandCursor(const QString& cursorFile);

class PointerRules : public QObject {
public:
    explicit PointerRules(QWidget& window);

    // The image for the hand shape; without one the hand shows the default arrow.
    void setHandImage(const QCursor& hand);
    bool hasHandImage() const { return hand_.has_value(); }

    // Hovering over the button shows the hand (unless the window is busy).
    void watchButton(QAbstractButton& button);
    // Hovering over this part of the window (the window itself, a frame, a text field) shows
    // the default pointer (unless the window is busy). A text field stops showing its own
    // I-beam: the window's pointer shows over all its controls.
    void watchSurface(QWidget& surface);

    void setShape(PointerShape shape);
    PointerShape shape() const { return shape_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void hoverShows(PointerShape shape);

    QWidget& window_;
    std::optional<QCursor> hand_;
    PointerShape shape_ = PointerShape::Default;
};

} // namespace quintabel
