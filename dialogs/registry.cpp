#include "dialogs/registry.h"

#include <array>
#include <cstring>

namespace kup {

namespace {
constexpr uint32_t kBufferSize = 1024;

// Closes the key on every way out of GetKeyValue.
class OpenedKey {
public:
    OpenedKey(Registry& registry, Registry::Key key) : registry_(registry), key_(key) {}
    ~OpenedKey() { registry_.CloseKey(key_); }
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;

private:
    Registry& registry_;
    Registry::Key key_;
};
}  // namespace

bool GetKeyValue(Registry& registry, uint32_t KeyRoot, const std::string& KeyName,
                 const std::string& SubKeyRef, std::string& KeyVal, uint32_t view)
{
    // Read access only: a standard user may not open this machine key for
    // writing, and the lookup would then fail for everyone but administrators.
    Registry::Key key = 0;
    if (registry.OpenKey(KeyRoot, KeyName, 0, kKeyRead | view, key) != kErrorSuccess) {
        KeyVal.clear();
        return false;
    }
    const OpenedKey closer(registry, key);

    std::array<unsigned char, kBufferSize> buffer{};
    uint32_t size = kBufferSize;
    uint32_t type = 0;
    if (registry.QueryValue(key, SubKeyRef, type, buffer.data(), size) != kErrorSuccess ||
        size > kBufferSize) {
        KeyVal.clear();
        return false;
    }

    // A stored text usually carries its terminating NUL; one without keeps all it has.
    std::string_view data(reinterpret_cast<const char*>(buffer.data()), size);
    if (!data.empty() && data.back() == '\0')
        data.remove_suffix(1);

    if (type == kRegSz) {
        KeyVal = registry.programText(data);
    } else if (type == kRegDword) {
        uint32_t number = 0;
        std::memcpy(&number, buffer.data(), sizeof number);  // stored little-endian, as read
        KeyVal = std::to_string(number);
    }
    return true;
}

}  // namespace kup
