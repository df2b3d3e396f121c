// Where the program's documents are: the README and the docs folder, installed with the
// package, or in the source tree the program was built from.
#pragma once

#include <optional>
#include <string>

namespace lumigrid {

struct Documentation {
  std::string readme;  // README.md
  std::string folder;  // the folder of the other documents
};

// Installed documents lie in <prefix>/share/doc/lumigrid for a program in <prefix>/bin; they
// win over the source tree's README and docs (`source_folder` empty: none known). Paths are
// UTF-8; nullopt when neither place holds a README.
std::optional<Documentation> FindDocumentation(const std::string& program_folder,
                                               const std::string& source_folder);

}  // namespace lumigrid
