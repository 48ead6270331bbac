#include "bench/cadsim_start.h"

#include "cad/com/com_backend.h"
#include "cadsim/com/launch.h"

#include <stdexcept>

namespace bench {

const char* const kCadsimRoute = "COM über Prozessgrenzen, cadsim.exe als lokaler Server (unter wine)";

namespace {

class LocalServer : public RunningCadsim {
public:
    LocalServer(const std::string& preferences, const std::string& drawing)
    {
        std::string output;
        if (cadsim::CadsimExe::registerServer(output) != 0)
            throw std::runtime_error("cadsim.exe /RegServer: " + output);
        if (!cadsim_.start({"--headless", "--prefs", preferences, drawing}))
            throw std::runtime_error("cadsim.exe kam nicht hoch: " + cadsim_.output());
    }
    ~LocalServer() override { cadsim::CadsimExe::removeMachineLinks(); }
    cad::Backend backend() override { return cad::com::makeBackend(); }

private:
    cadsim::CadsimExe cadsim_;
};

}  // namespace

std::unique_ptr<RunningCadsim> startCadsim(const std::string& preferences, const std::string& drawing)
{
    return std::make_unique<LocalServer>(preferences, drawing);
}

}  // namespace bench
