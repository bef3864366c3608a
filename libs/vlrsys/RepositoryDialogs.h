// The dialogs of the store of reusable documents: adding a document under a
// name, a description and a category, and the new-document dialog that lists
// the templates and the stored documents with a preview.
#pragma once

#include "libs/vlrsys/Repository.h"
#include "platform/Window.h"

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTreeWidget;

namespace vlr::sys {

class TAddToRepositoryDialog : public QDialog {
    Q_OBJECT
public:
    TAddToRepositoryDialog(const std::vector<std::string>& categories, const std::string& name, QWidget* parent = nullptr);
    QLineEdit* NameEdit;
    QPlainTextEdit* DescriptionEdit;
    QComboBox* CategoryBox;
};

class TRepositoryDialog : public QDialog {
    Q_OBJECT
public:
    TRepositoryDialog(const std::vector<RepositoryItem>& items, QWidget* parent = nullptr);
    // The chosen document's path ("" when none is selected).
    std::string SelectedPath() const;
    // Selects the item with this path (tests, screenshots).
    void Select(const std::string& path);

    QTreeWidget* ItemTree;
    QPlainTextEdit* Preview;
    QLabel* DescriptionLabel;
    QDialogButtonBox* Buttons;

private:
    void showSelected();
    std::vector<RepositoryItem> items_;
};

// "&Add To Repository...": asks for the name, description and category and
// stores the document; errors are shown and nothing is half written.
void RunAddToRepository(const std::string& appDir, const std::string& path, QWidget* owner);
// "&New...": OK opens a new untitled editor window filled from the chosen
// document (main-window message 3063).
void RunNewFromRepository(const std::string& appDir, Handle mainWindow, QWidget* owner);
// Sends 3063 for the document at `path`.
void OpenNewFrom(Handle mainWindow, const std::string& path);

}  // namespace vlr::sys
