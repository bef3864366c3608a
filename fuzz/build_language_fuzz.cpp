// The site build's readers on arbitrary input: the text as a project file,
// and as a page expanded with variables (includes off, so nothing is read
// from the disk). Neither may crash, hang or leave the bounds of the text.
#include "project/build/BuildVariables.h"
#include "project/build/Expander.h"
#include "project/build/SiteProject.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    vlr::build::SiteProject project;
    vlr::build::ParseSiteProject("/fuzz/site.vlr", text, project);

    // The project's own variables stand for the page's references.
    project.Variables.emplace_back("Name", "value");
    vlr::build::VariableTable variables(project, vlr::build::BuildEnvironment{});
    vlr::build::Switches switches;
    switches.includes = false;
    vlr::build::Expander expander(switches, variables, "/fuzz/src");
    vlr::build::Expansion page = expander.ExpandPage("/fuzz/src/page.hts", text);
    for (const vlr::build::Diagnostic& d : page.diagnostics)
        (void)d.Describe();
    return 0;
}
