#include "bench/cadsim_start.h"

#include "cad/dbus/dbus_backend.h"
#include "cadsim/launch.h"

namespace bench {

const char* const kCadsimRoute = "D-Bus, cadsim als eigener Prozess auf einem privaten Sitzungsbus";

namespace {

class OnBus : public RunningCadsim {
public:
    OnBus(const std::string& preferences, const std::string& drawing) : cadsim_(preferences, {drawing}) {}
    cad::Backend backend() override
    {
        cad::dbus::BackendOptions options;
        options.cadsimPath = "/nonexistent/cadsim";  // attach only
        return cad::dbus::makeBackend(options);
    }

private:
    cadsim::PrivateBus bus_;  // before the process: it must outlive it
    cadsim::CadsimProcess cadsim_;
};

}  // namespace

std::unique_ptr<RunningCadsim> startCadsim(const std::string& preferences, const std::string& drawing)
{
    return std::make_unique<OnBus>(preferences, drawing);
}

}  // namespace bench
