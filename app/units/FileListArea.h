// The side panel's file-list page as the project unit fills it: the list of
// the project's files and the button row above it.
#pragma once

class QToolBar;
class QTreeWidget;

namespace vlr {

class FileListArea {
public:
    virtual ~FileListArea() = default;

    virtual QTreeWidget* fileList() const = 0;
    virtual QToolBar* fileButtons() const = 0;
};

}  // namespace vlr
