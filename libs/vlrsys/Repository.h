// The store of reusable documents: a folder "repository" beside the program's
// settings with one subfolder per category. A stored document keeps its file
// name and extension; its description lies beside it in "<file>.description".
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace vlr::sys {

class ERepositoryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct RepositoryItem {
    std::string category;  // "Templates" for the program's templates
    std::string name;      // shown name: the file name without its extension
    std::string description;
    std::string path;      // full path of the document
};

inline constexpr const char* kTemplatesCategory = "Templates";

class Repository {
public:
    // `appDir` (the shipped templates) and `storeDir` (the folder whose
    // "repository/" holds the stored documents; the user's own folder for an
    // installed program, whose folder is read-only), each with a trailing
    // slash. Without `storeDir` the documents are kept under `appDir`.
    explicit Repository(std::string appDir, std::string storeDir = {});

    std::string Folder() const;
    std::vector<std::string> Categories() const;
    // The program's templates (templates/*.htf) first, then the stored documents
    // by category and name.
    std::vector<RepositoryItem> Items() const;

    // Whether a document of that name and extension is stored in the category.
    bool Exists(const std::string& category, const std::string& name, const std::string& sourcePath) const;
    // Copies the document in, whole or not at all, and writes its description.
    // Names and categories that are not plain file names are refused.
    RepositoryItem Add(const std::string& sourcePath, const std::string& name, const std::string& description,
                       const std::string& category);

private:
    std::string TargetPath(const std::string& category, const std::string& name, const std::string& sourcePath) const;
    std::string appDir_;
    std::string storeDir_;
};

// A name usable as a file or folder name: not empty, no slashes or control
// characters, not "." or "..".
bool IsPlainName(const std::string& name);

}  // namespace vlr::sys
