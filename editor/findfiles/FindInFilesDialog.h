// The "Find in Files" window: what to search for, where (the project's files
// or a folder with a file mask), and the list of matches with file, line and
// the matching line. Double-clicking a match asks for that place to be opened;
// "Replace All" asks for every match to be replaced.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vlr {

struct FindInFilesRequest {
    QString text;
    QString replacement;
    bool matchCase = false;
    bool wholeWords = false;
    bool regularExpression = false;
    bool projectFiles = true;   // else the folder with the mask
    QString folder;
    QString mask = "*.hts;*.htm;*.html";
    bool subfolders = true;
};

struct FindInFilesRow {
    QString file;
    long long line = 0;    // one-based
    long long column = 0;  // one-based
    long long start = 0;   // the match in the document's stored text
    long long end = 0;
    QString lineText;
};

class TFindInFilesDialog : public QDialog {
    Q_OBJECT
public:
    explicit TFindInFilesDialog(QWidget* parent = nullptr);

    FindInFilesRequest request() const;
    void setRequest(const FindInFilesRequest& request);
    // Whether the project scope can be chosen (a project is open).
    void setProjectAvailable(bool available);

    void showResults(const std::vector<FindInFilesRow>& rows, int fileCount, const QStringList& problems);
    void showMessage(const QString& text);
    int resultCount() const;
    FindInFilesRow resultAt(int index) const;
    QString summary() const;

    // Parts for tests and keyboard users.
    QLineEdit* findEdit() const { return find_; }
    QLineEdit* replaceEdit() const { return replace_; }
    QPushButton* findButton() const { return findButton_; }
    QPushButton* replaceButton() const { return replaceButton_; }
    QTreeWidget* resultList() const { return results_; }

Q_SIGNALS:
    void searchRequested();
    void replaceRequested();
    void openRequested(const FindInFilesRow& row);

private:
    void chooseFolder();
    void updateButtons();

    QLineEdit* find_;
    QLineEdit* replace_;
    QCheckBox* matchCase_;
    QCheckBox* wholeWords_;
    QCheckBox* regex_;
    QRadioButton* projectScope_;
    QRadioButton* folderScope_;
    QLineEdit* folder_;
    QPushButton* browse_;
    QLineEdit* mask_;
    QCheckBox* subfolders_;
    QPushButton* findButton_;
    QPushButton* replaceButton_;
    QTreeWidget* results_;
    QLabel* summary_;
    std::vector<FindInFilesRow> rows_;
};

}  // namespace vlr
