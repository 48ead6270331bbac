// The start every front end of cadsim shares, whatever serves its objects: the command line,
// the drawings, the application object, the preferences and the documents of the session.
#pragma once

#include "cadsim/cad_session.h"
#include "cadsim/drawing.h"
#include "cadsim/options.h"

#include <QGuiApplication>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace cadsim {

// Both answer the exit code when the start ends there, and nothing when it goes on.
// The command line (UTF-8): --help printed, or one line on stderr about a bad option.
std::optional<int> readCommandLine(const std::vector<std::string>& arguments, Options& options);
// The drawings named, or the sample (written on first start): one line on stderr naming the
// file that cannot be read.
std::optional<int> loadDrawings(Options& options, std::vector<Drawing>& drawings);

// A window application, or without a window the offscreen platform, which needs no display but
// still gives the glyph outlines the sheets' texts are drawn from.
std::unique_ptr<QGuiApplication> makeApplication(const Options& options, int& argc, char** argv);

// The session with the preferences of the options (a warning about them on stderr) and the
// drawings opened, the first one active.
std::unique_ptr<CadSession> openSession(const Options& options, std::vector<Drawing> drawings);

}  // namespace cadsim
