// The user's manual as the tests read it: its pages, their links and their
// text as a reader sees it.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace vlrtest {

// Every page of the manual folder (file name -> contents).
std::map<std::string, std::string> ManualPages(const std::string& helpDir);

// The addresses of a page's href="..." and src="..." attributes, in order.
std::vector<std::string> PageReferences(const std::string& html);

// The ids a page defines (id="...").
std::vector<std::string> PageIds(const std::string& html);

// The text of a page: tags dropped, entities decoded, runs of white space
// made one blank, lower case.
std::string ReadableText(const std::string& html);

}  // namespace vlrtest
