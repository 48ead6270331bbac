#include "cadsim/cad_session.h"

#include <algorithm>

namespace cadsim {

CadSession::CadSession(std::unique_ptr<PreferenceStore> preferences) : preferences_(std::move(preferences)) {}

OpenDocument* CadSession::activeDocument()
{
    if (active_ < 0 || active_ >= static_cast<int>(documents_.size()))
        return nullptr;
    return &documents_[active_];
}

OpenDocument* CadSession::findDocument(int id)
{
    auto it = std::find_if(documents_.begin(), documents_.end(),
                           [id](const OpenDocument& d) { return d.id == id; });
    return it == documents_.end() ? nullptr : &*it;
}

int CadSession::openDocument(const std::string& path)
{
    openDocument(loadDrawingFile(path));
    return documents_.back().id;
}

void CadSession::openDocument(Drawing drawing)
{
    documents_.push_back({nextId_++, std::move(drawing)});
    active_ = static_cast<int>(documents_.size()) - 1;
    emit documentsChanged();
}

bool CadSession::closeActiveDocument()
{
    if (!activeDocument())
        return false;
    documents_.erase(documents_.begin() + active_);
    // The most recently opened of the rest becomes active, as in the CAD system.
    active_ = static_cast<int>(documents_.size()) - 1;
    emit documentsChanged();
    return true;
}

void CadSession::closeAllDocuments()
{
    documents_.clear();
    active_ = -1;
    emit documentsChanged();
}

void CadSession::activateDocument(int id)
{
    for (size_t i = 0; i < documents_.size(); ++i) {
        if (documents_[i].id == id && active_ != static_cast<int>(i)) {
            active_ = static_cast<int>(i);
            emit documentsChanged();
        }
    }
}

bool CadSession::activateSheet(int id, const std::string& name)
{
    OpenDocument* document = findDocument(id);
    if (!document)
        return false;
    auto& sheets = document->drawing.sheets;
    auto it = std::find_if(sheets.begin(), sheets.end(), [&](const Sheet& s) { return s.name == name; });
    if (it == sheets.end())
        return false;
    document->drawing.activeSheet = static_cast<int>(it - sheets.begin());
    emit sheetActivated();
    return true;
}

std::optional<FaultKind> faultKindNamed(const std::string& name)
{
    if (name == "refuse")
        return FaultKind::Refuse;
    if (name == "error")
        return FaultKind::Error;
    if (name == "hang")
        return FaultKind::Hang;
    return std::nullopt;
}

const Fault* CadSession::faultFor(const std::string& member, const std::string& argument) const
{
    for (const Fault& f : faults_)
        if (f.member == member && (f.argument.empty() || f.argument == argument))
            return &f;
    return nullptr;
}

void CadSession::reportSave(const QString& path, int result)
{
    emit saved(path, result);
}

}  // namespace cadsim
