// The editor window's part for the tokens under the mouse and the HTML keys:
// web addresses (hint from the link checker, click to check, "Visit Link"),
// variable references "<%name%>" (their value as the hint), file references
// "<&file&>" (double-click opens the file), and the HTML shortcuts of the
// keyboard. The window owns one; it follows the window's control.
#pragma once

#include <QObject>

#include <string>

class QEvent;
class QPoint;

namespace vlr {

class TFrmEditor;

// Token classes of the control's hot-spot text, tested in this order.
bool IsAddressToken(const std::string& t);    // contains "http://" or "ftp://", any letter case
bool IsVariableToken(const std::string& t);   // contains "<%"
bool IsFileReference(const std::string& t);   // contains "<&"
// The name inside a variable or file reference: the token without its first
// two and last two characters ("" when it is shorter than four).
std::string ReferenceName(const std::string& t);

class EditorLinks : public QObject {
    Q_OBJECT
public:
    explicit EditorLinks(TFrmEditor& editor);

    // ---- the control's events
    void SyntaxMemo1HyperlinkHover();
    void SyntaxMemo1MouseMove();
    void SyntaxMemo1Click();
    void SyntaxMemo1DblClick();
    // Returns true when the key's work is done and the control must not do
    // it again (see KeyTakesOver in the implementation).
    bool SyntaxMemo1KeyDown(int key, Qt::KeyboardModifiers modifiers);
    void VisitLink1Click();
    void SyntaxMemo1FilesDropped();
    // The mouse left a hot spot: as a move onto plain text.
    void HyperlinkLeft();
    // The context menu opens at a point of the control's viewport: "Visit
    // Link" follows the address there, whatever the mouse does while the
    // menu is open (opening it takes the mouse off the control).
    void MenuOpening(const QPoint& at);
    void MenuClosed() { menuOpen_ = false; }

    // ---- messages
    // 3030: the main window's answer to a variable hint request.
    void ReceiveHint(const std::string& text);
    // 3036: checks the address through the link checker.
    void Validate(const std::string& address);

    // The control's hint ("short|long") and whether hints are shown.
    const std::string& hint() const { return hint_; }
    bool showHint() const { return showHint_; }
    // What the tooltip shows: the short hint while hints are on.
    std::string shownHint() const;

    // The HTML keys (the table of the keyboard handler): main-window
    // shortcuts must not take them while the control has the focus.
    static bool IsHtmlKey(int key, Qt::KeyboardModifiers modifiers);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::string token() const;
    void offToken();
    void setHint(const std::string& hint, bool show);
    void resetHintColour();
    void setCursor(Qt::CursorShape shape);
    bool loadValidator();
    void insertAtCaret(const std::string& text);
    void openHelpFor(const std::string& word);

    TFrmEditor& editor_;
    std::string hint_;
    bool showHint_ = false;
    Qt::CursorShape cursor_ = Qt::IBeamCursor;
    // The variable whose value was asked for last; asked again once the
    // mouse has been elsewhere, so the value (a date, a time) stays current.
    std::string askedVariable_;
    // The address the context menu was opened on, and whether it is open.
    std::string menuLink_;
    bool menuOpen_ = false;
};

}  // namespace vlr
