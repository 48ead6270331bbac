// What the running stand-in CAD holds: the open documents (the active one
// among them), the TIFF preferences and the faults a test asked for. The bus
// service and the window both work on it.
#pragma once

#include "cadsim/drawing.h"
#include "cadsim/preferences.h"

#include <QObject>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace cadsim {

struct OpenDocument {
    int id = 0;  // never reused, so a stale object path stays stale
    Drawing drawing;
};

// What an injected fault does to the calls it matches ("busy" is counted apart, see rejectCalls).
enum class FaultKind {
    Refuse,  // the member answers its failure value
    Error,   // the call fails with an error
    Hang,    // the call is not answered while the fault stays
};
// The kind of that name ("refuse", "error", "hang"); none for another.
std::optional<FaultKind> faultKindNamed(const std::string& name);

struct Fault {
    std::string member;
    std::string argument;  // empty: every call of the member
    FaultKind kind = FaultKind::Refuse;
};

class CadSession : public QObject {
    Q_OBJECT
public:
    explicit CadSession(std::unique_ptr<PreferenceStore> preferences);

    const std::vector<OpenDocument>& documents() const { return documents_; }
    OpenDocument* activeDocument();
    OpenDocument* findDocument(int id);

    // Loads and activates; throws DrawingError and changes nothing then.
    int openDocument(const std::string& path);
    void openDocument(Drawing drawing);
    bool closeActiveDocument();
    void closeAllDocuments();
    void activateDocument(int id);
    // False (nothing changes) when the document has no sheet of that name.
    bool activateSheet(int id, const std::string& name);

    PreferenceStore& preferences() { return *preferences_; }
    void preferencesWritten() { emit preferencesChanged(); }

    bool visible() const { return visible_; }
    void setVisible(bool visible) { visible_ = visible; }

    void injectFault(const Fault& fault) { faults_.push_back(fault); }
    void clearFaults()
    {
        faults_.clear();
        rejectedCalls_ = 0;
    }
    // "busy": the next `calls` incoming calls are turned away, whatever they call; only a front end
    // that sees calls before they are dispatched (COM's message filter) can do so.
    void rejectCalls(int calls) { rejectedCalls_ = calls; }
    // True, and one fewer left, while calls are to be turned away.
    bool takeRejectedCall()
    {
        if (rejectedCalls_ <= 0)
            return false;
        --rejectedCalls_;
        return true;
    }
    // The fault matching this call, if any.
    const Fault* faultFor(const std::string& member, const std::string& argument) const;

    void reportSave(const QString& path, int result);

signals:
    void documentsChanged();
    void sheetActivated();
    void preferencesChanged();
    void saved(const QString& path, int result);

private:
    std::unique_ptr<PreferenceStore> preferences_;
    std::vector<OpenDocument> documents_;
    int active_ = -1;  // index into documents_
    int nextId_ = 1;
    bool visible_ = false;
    std::vector<Fault> faults_;
    int rejectedCalls_ = 0;
};

}  // namespace cadsim
