// The key under which Windows finds a file: names that differ only in case
// (in any script, "Détail" and "DÉTAIL" alike) name one and the same file there.
#pragma once

#include <string>

namespace kup {

// The name with every character replaced by its simple Unicode case folding,
// the same under every locale. A byte that is not part of valid UTF-8 stays as
// it is, so such names are compared byte for byte.
std::string fileNameKey(const std::string& name);

}  // namespace kup
