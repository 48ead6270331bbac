#include "export/sheet_export.h"

namespace kup {
const char kPathSeparator = '\\';
}
