// TFrmTools: the tools customisation dialog. It lists the user tools of
// "tools.dat" (caption with its access key, and the program, document or
// address each opens), adds, edits, removes, reorders and tries them, and
// writes the file whole on OK.
#pragma once

#include "libs/vlrsys/NameValueFile.h"

#include <QDialog>

#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vlr::sys {

enum class ToolKind { Program, Document, Address };

// What a tool's target looks like: an address ("scheme://...", "mailto:"),
// an executable file, or anything else (a document).
ToolKind GuessToolKind(const std::string& target);
// The access key of a caption: the character after the first single "&"
// ("&&" is a literal "&"); 0 when there is none.
char AccessKeyOf(const std::string& caption);
// The caption as shown in a menu, without its "&" marks.
std::string CaptionWithoutMarks(const std::string& caption);

// Controls: the list "ToolList"; the editors "Caption", "Kind", "Target";
// the label "AccessKey"; the buttons "Browse", "Add", "Remove", "MoveUp",
// "MoveDown", "Test", "OK" and "Cancel".
class TFrmTools : public QDialog {
    Q_OBJECT

public:
    TFrmTools(std::string path, NameValues tools, QWidget* parent = nullptr);

    const NameValues& tools() const { return tools_; }
    int current() const;

    // Each of these is what the button of the same name does.
    void addTool();
    void removeTool();
    void moveTool(int delta);
    void testTool();
    void browse();

    // Refuses tools without a caption or a target and captions used twice
    // (the menu could start only the first), otherwise writes the file and
    // closes; a failed write keeps the dialog open.
    void accept() override;

private:
    void build();
    void refreshList(int select);
    void showCurrent();
    void captionEdited(const QString& text);
    void targetEdited(const QString& text);
    void kindChosen(int index);
    void updateButtons();
    QString itemText(const std::pair<std::string, std::string>& tool) const;

    std::string path_;
    NameValues tools_;
    bool loading_ = false;

    QListWidget* list_ = nullptr;
    QLineEdit* caption_ = nullptr;
    QComboBox* kind_ = nullptr;
    QLineEdit* target_ = nullptr;
    QLabel* accessKey_ = nullptr;
    QPushButton* browse_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* up_ = nullptr;
    QPushButton* down_ = nullptr;
    QPushButton* test_ = nullptr;
};

// Runs the dialog over a tools file (a missing file is an empty list). A file
// that cannot be read is reported and left as it is; nothing is shown where
// nobody could answer (no widget application, logged prompts).
void RunToolsDialog(const std::string& path, QWidget* parent);

}  // namespace vlr::sys
