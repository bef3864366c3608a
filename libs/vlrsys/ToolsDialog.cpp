#include "libs/vlrsys/ToolsDialog.h"

#include "appearance/ToolStart.h"
#include "libs/common/ModuleSupport.h"
#include "platform/Prompter.h"
#include "platform/System.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace vlr::sys {
namespace {

const char* const kCaption = "Customize Tools";

QString Text(const std::string& s) { return QString::fromStdString(s); }

void Refuse(const std::string& text) { ShowMessage(MessageKind::Error, kCaption, text); }

}  // namespace

ToolKind GuessToolKind(const std::string& target) {
    const std::size_t scheme = target.find("://");
    if ((scheme != std::string::npos && scheme > 0) || target.rfind("mailto:", 0) == 0)
        return ToolKind::Address;
    struct stat st {};
    if (!target.empty() && ::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        ::access(target.c_str(), X_OK) == 0)
        return ToolKind::Program;
    return ToolKind::Document;
}

char AccessKeyOf(const std::string& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&')
            continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return caption[i + 1];
    }
    return 0;
}

std::string CaptionWithoutMarks(const std::string& caption) {
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        else if (caption[i] == '&')
            continue;
        out.push_back(caption[i]);
    }
    return out;
}

TFrmTools::TFrmTools(std::string path, NameValues tools, QWidget* parent)
    : QDialog(parent), path_(std::move(path)), tools_(std::move(tools)) {
    setObjectName(QStringLiteral("TFrmTools"));
    setWindowTitle(Text(kCaption));
    build();
    refreshList(tools_.empty() ? -1 : 0);
}

void TFrmTools::build() {
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("ToolList"));
    list_->setAccessibleName(QStringLiteral("Tools"));
    list_->setMinimumWidth(260);
    caption_ = new QLineEdit(this);
    caption_->setObjectName(QStringLiteral("Caption"));
    caption_->setPlaceholderText(QStringLiteral("Put & before the access key, e.g. &Notes"));
    kind_ = new QComboBox(this);
    kind_->setObjectName(QStringLiteral("Kind"));
    kind_->addItems({QStringLiteral("Program"), QStringLiteral("Document"), QStringLiteral("Web address")});
    target_ = new QLineEdit(this);
    target_->setObjectName(QStringLiteral("Target"));
    browse_ = new QPushButton(QStringLiteral("&Browse..."), this);
    browse_->setObjectName(QStringLiteral("Browse"));
    accessKey_ = new QLabel(this);
    accessKey_->setObjectName(QStringLiteral("AccessKey"));

    auto* targetRow = new QHBoxLayout;
    targetRow->addWidget(target_, 1);
    targetRow->addWidget(browse_);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Caption:"), caption_);
    form->addRow(QString(), accessKey_);
    form->addRow(QStringLiteral("&Opens a:"), kind_);
    auto* targetLabel = new QLabel(QStringLiteral("&Target:"), this);
    targetLabel->setBuddy(target_);
    form->addRow(targetLabel, targetRow);

    auto button = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    add_ = button("Add", QStringLiteral("&Add"));
    remove_ = button("Remove", QStringLiteral("&Remove"));
    up_ = button("MoveUp", QStringLiteral("Move &Up"));
    down_ = button("MoveDown", QStringLiteral("Move Do&wn"));
    test_ = button("Test", QStringLiteral("T&est"));
    auto* side = new QVBoxLayout;
    for (QPushButton* b : {add_, remove_, up_, down_, test_})
        side->addWidget(b);
    side->addStretch(1);

    auto* ok = button("OK", QStringLiteral("OK"));
    ok->setDefault(true);
    auto* cancel = button("Cancel", QStringLiteral("Cancel"));
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(ok);
    bottom->addWidget(cancel);

    auto* top = new QHBoxLayout;
    top->addWidget(list_, 1);
    top->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(form);
    layout->addLayout(bottom);

    connect(list_, &QListWidget::currentRowChanged, this, [this] { showCurrent(); });
    connect(caption_, &QLineEdit::textEdited, this, &TFrmTools::captionEdited);
    connect(target_, &QLineEdit::textEdited, this, &TFrmTools::targetEdited);
    connect(kind_, &QComboBox::activated, this, &TFrmTools::kindChosen);
    connect(browse_, &QPushButton::clicked, this, &TFrmTools::browse);
    connect(add_, &QPushButton::clicked, this, &TFrmTools::addTool);
    connect(remove_, &QPushButton::clicked, this, &TFrmTools::removeTool);
    connect(up_, &QPushButton::clicked, this, [this] { moveTool(-1); });
    connect(down_, &QPushButton::clicked, this, [this] { moveTool(1); });
    connect(test_, &QPushButton::clicked, this, &TFrmTools::testTool);
    connect(ok, &QPushButton::clicked, this, &TFrmTools::accept);
    connect(cancel, &QPushButton::clicked, this, &TFrmTools::reject);
}

int TFrmTools::current() const {
    const int row = list_->currentRow();
    return row >= 0 && static_cast<std::size_t>(row) < tools_.size() ? row : -1;
}

QString TFrmTools::itemText(const std::pair<std::string, std::string>& tool) const {
    QString text = Text(CaptionWithoutMarks(tool.first));
    if (text.isEmpty())
        text = QStringLiteral("(no caption)");
    if (char key = AccessKeyOf(tool.first))
        text += QStringLiteral("   [Alt+%1]").arg(QChar::fromLatin1(key).toUpper());
    return text;
}

void TFrmTools::refreshList(int select) {
    loading_ = true;
    list_->clear();
    for (const auto& tool : tools_)
        list_->addItem(itemText(tool));
    loading_ = false;
    list_->setCurrentRow(select);
    showCurrent();
}

void TFrmTools::showCurrent() {
    if (loading_)
        return;
    const int row = current();
    loading_ = true;
    if (row < 0) {
        caption_->clear();
        target_->clear();
        accessKey_->clear();
    } else {
        const auto& [caption, target] = tools_[static_cast<std::size_t>(row)];
        caption_->setText(Text(caption));
        target_->setText(Text(target));
        kind_->setCurrentIndex(static_cast<int>(GuessToolKind(target)));
        char key = AccessKeyOf(caption);
        accessKey_->setText(key ? QStringLiteral("Access key: %1").arg(QChar::fromLatin1(key).toUpper())
                                : QStringLiteral("No access key"));
    }
    loading_ = false;
    updateButtons();
}

void TFrmTools::updateButtons() {
    const int row = current();
    const bool have = row >= 0;
    for (QWidget* w : {static_cast<QWidget*>(caption_), static_cast<QWidget*>(kind_),
                       static_cast<QWidget*>(target_), static_cast<QWidget*>(remove_),
                       static_cast<QWidget*>(test_)})
        w->setEnabled(have);
    browse_->setEnabled(have && kind_->currentIndex() != static_cast<int>(ToolKind::Address));
    up_->setEnabled(row > 0);
    down_->setEnabled(have && static_cast<std::size_t>(row) + 1 < tools_.size());
}

void TFrmTools::captionEdited(const QString& text) {
    const int row = current();
    if (row < 0 || loading_)
        return;
    tools_[static_cast<std::size_t>(row)].first = text.toStdString();
    list_->item(row)->setText(itemText(tools_[static_cast<std::size_t>(row)]));
    char key = AccessKeyOf(tools_[static_cast<std::size_t>(row)].first);
    accessKey_->setText(key ? QStringLiteral("Access key: %1").arg(QChar::fromLatin1(key).toUpper())
                            : QStringLiteral("No access key"));
}

void TFrmTools::targetEdited(const QString& text) {
    const int row = current();
    if (row < 0 || loading_)
        return;
    tools_[static_cast<std::size_t>(row)].second = text.toStdString();
    // An address typed in shows as one; the choice between a program and a
    // document is left to the user until the file exists.
    const ToolKind kind = GuessToolKind(text.toStdString());
    if (kind != ToolKind::Document || kind_->currentIndex() == static_cast<int>(ToolKind::Address))
        kind_->setCurrentIndex(static_cast<int>(kind));
    updateButtons();
}

void TFrmTools::kindChosen(int) { updateButtons(); }

void TFrmTools::addTool() {
    tools_.emplace_back("New Tool", std::string());
    refreshList(static_cast<int>(tools_.size()) - 1);
    caption_->setFocus();
    caption_->selectAll();
}

void TFrmTools::removeTool() {
    const int row = current();
    if (row < 0)
        return;
    tools_.erase(tools_.begin() + row);
    refreshList(std::min(row, static_cast<int>(tools_.size()) - 1));
}

void TFrmTools::moveTool(int delta) {
    const int row = current();
    const int to = row + delta;
    if (row < 0 || to < 0 || static_cast<std::size_t>(to) >= tools_.size())
        return;
    std::swap(tools_[static_cast<std::size_t>(row)], tools_[static_cast<std::size_t>(to)]);
    refreshList(to);
}

void TFrmTools::browse() {
    const int row = current();
    if (row < 0)
        return;
    FileDialogRequest request;
    const bool program = kind_->currentIndex() == static_cast<int>(ToolKind::Program);
    request.title = program ? "Choose a Program" : "Choose a Document";
    request.filter = "All files|*";
    request.mustExist = true;
    const std::string now = tools_[static_cast<std::size_t>(row)].second;
    if (!now.empty())
        request.initialDir = std::filesystem::path(now).parent_path().string();
    std::optional<std::string> chosen = OpenFile(request);
    if (!chosen || chosen->empty())
        return;
    tools_[static_cast<std::size_t>(row)].second = *chosen;
    target_->setText(Text(*chosen));
}

void TFrmTools::testTool() {
    const int row = current();
    if (row < 0)
        return;
    const std::string& target = tools_[static_cast<std::size_t>(row)].second;
    if (target.empty()) {
        Refuse("Give the program, document or address the tool opens first.");
        return;
    }
    // Started as the Tools menu starts it, so that the test says what the menu will do.
    if (!StartTool(target))
        ShowMessage(MessageKind::Error, "", "Could not load tool", BtnOk);
}

void TFrmTools::accept() {
    for (std::size_t i = 0; i < tools_.size(); ++i) {
        const auto& [caption, target] = tools_[i];
        if (CaptionWithoutMarks(caption).empty()) {
            list_->setCurrentRow(static_cast<int>(i));
            Refuse("Tool " + std::to_string(i + 1) + " needs a caption.");
            return;
        }
        if (caption.find_first_of("\r\n") != std::string::npos || target.find_first_of("\r\n") != std::string::npos) {
            list_->setCurrentRow(static_cast<int>(i));
            Refuse("The tool \"" + caption + "\" may not contain a line break.");
            return;
        }
        if (target.empty()) {
            list_->setCurrentRow(static_cast<int>(i));
            Refuse("The tool \"" + caption + "\" does not say which program, document or address it opens.");
            return;
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (tools_[j].first == caption) {
                list_->setCurrentRow(static_cast<int>(i));
                Refuse("Two tools are called \"" + caption + "\"; the menu could only start the first. Give each "
                       "tool its own caption.");
                return;
            }
        }
    }
    std::string error;
    if (!WriteNameValues(path_, tools_, &error)) {
        Refuse("The tools could not be saved: " + error);
        return;
    }
    QDialog::accept();
}

void RunToolsDialog(const std::string& path, QWidget* parent) {
    if (!modules::HaveWidgetApplication())
        return;
    if (PromptsAreLogged()) {
        modules::LogSkippedDialog(kCaption);
        return;
    }
    NameValues tools;
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) {
        std::optional<NameValues> read = ReadNameValues(path);
        if (!read) {
            Refuse("The tools file " + path + " cannot be read or is damaged, so it was left as it is.");
            return;
        }
        tools = std::move(*read);
    }
    TFrmTools dialog(path, std::move(tools), parent);
    dialog.exec();
}

}  // namespace vlr::sys
