// An export log kept as plain text with an insertion point, as the main
// window's log box behaves, and the lines a run writes into it.
#pragma once

#include "screen/output_log.h"

#include <string>
#include <vector>

namespace fake {

class TextLog : public kup::OutputLog {
public:
    void replace(const std::string& newText) override
    {
        text = newText;
        cursor = 0;
    }
    void insert(const std::string& piece) override
    {
        text.insert(cursor, piece);
        cursor += piece.size();
    }
    void refresh() override { refreshed.push_back(text); }

    std::string text;
    std::size_t cursor = 0;
    std::vector<std::string> refreshed;  // the text at every refresh
};

inline const std::string kLogHeading = "Speichere einzelne Blätter von als TIFF\r\n";
inline const std::string kLogDone = "--- Erfolgreich abgeschlossen ---";

// The line of a saved sheet, counted from 0.
inline std::string savedLine(int sheet, const std::string& file)
{
    return "gesichert Sheet " + std::to_string(sheet) + " unter : " + file + "\r\n";
}

// The log of a run that saved every sheet, in order.
inline std::string logOf(const std::vector<std::string>& files)
{
    std::string log = kLogHeading;
    for (std::size_t i = 0; i < files.size(); ++i)
        log += savedLine(int(i), files[i]);
    return log + kLogDone;
}

// The separator a log line must show between folder and file: Windows' own there, although
// Windows would take "/" too.
#ifdef _WIN32
inline constexpr char kSeparator = '\\';
#else
inline constexpr char kSeparator = '/';
#endif

}  // namespace fake
