#include "cad/com/com_backend.h"

#include "cad/com/dispatch.h"

namespace cad::com {

namespace {

using members::Id;
using win::Bstr;

class ComSheet : public Sheet {
public:
    explicit ComSheet(Dispatch sheet) : sheet_(std::move(sheet)) {}

    std::string GetName() override { return asString(sheet_.call(Id::GetName)); }
    std::string GetTemplateName() override { return asString(sheet_.call(Id::GetTemplateName)); }
    std::vector<double> GetProperties() override { return asDoubles(sheet_.call(Id::GetProperties)); }

private:
    Dispatch sheet_;
};

class ComDocument : public Document {
public:
    explicit ComDocument(Dispatch document) : document_(std::move(document)) {}

    int32_t GetType() override { return asInt32(document_.call(Id::GetType)); }
    int32_t GetSheetCount() override { return asInt32(document_.call(Id::GetSheetCount)); }
    std::vector<std::string> GetSheetNames() override { return asStrings(document_.call(Id::GetSheetNames)); }
    std::unique_ptr<Sheet> GetCurrentSheet() override
    {
        ComPtr<IDispatch> sheet = asDispatch(document_.call(Id::GetCurrentSheet), document_.bounds().call);
        if (!sheet)
            return nullptr;
        return std::make_unique<ComSheet>(document_.sibling(std::move(sheet)));
    }
    int32_t ActivateSheet(std::string& name) override
    {
        Bstr text(name);
        Variant byReference = Variant::referenceTo(text.slot());
        const int32_t active = asInt32(document_.call(Id::ActivateSheet, {&byReference}));
        name = text.utf8();
        return active;
    }
    std::string GetTitle() override { return asString(document_.call(Id::GetTitle)); }
    int32_t SaveAsSilent(std::string& fileName, bool& saveFlag) override
    {
        Bstr name(fileName);
        VARIANT_BOOL flag = saveFlag ? VARIANT_TRUE : VARIANT_FALSE;
        Variant nameArgument = Variant::referenceTo(name.slot());
        Variant flagArgument = Variant::referenceTo(&flag);
        const int32_t saved =
            asInt32(document_.call(Id::SaveAsSilent, {&nameArgument, &flagArgument}, Wait::Save));
        fileName = name.utf8();
        saveFlag = flag != VARIANT_FALSE;
        return saved;
    }

private:
    Dispatch document_;
};

class ComApplication : public Application {
public:
    explicit ComApplication(Dispatch application) : application_(std::move(application)) {}

    void Visible(bool visible) override
    {
        Variant value = Variant::boolean(visible);
        application_.put(Id::Visible, value);
    }
    std::unique_ptr<Document> ActiveDoc() override
    {
        ComPtr<IDispatch> document = asDispatch(application_.call(Id::ActiveDoc), application_.bounds().call);
        if (!document)
            return nullptr;
        return std::make_unique<ComDocument>(application_.sibling(std::move(document)));
    }

    int16_t GetUserPreferenceIntegerValue(int32_t preference) override
    {
        return asInt16(call(Id::GetUserPreferenceIntegerValue, preference));
    }
    bool GetUserPreferenceToggle(int32_t preference) override
    {
        return asBool(call(Id::GetUserPreferenceToggle, preference));
    }
    double GetUserPreferenceDoubleValue(int32_t preference) override
    {
        return asDouble(call(Id::GetUserPreferenceDoubleValue, preference));
    }

    int16_t SetUserPreferenceIntegerValue(int32_t preference, int16_t value) override
    {
        Variant argument = Variant::i2(value);
        return asInt16(call(Id::SetUserPreferenceIntegerValue, preference, argument));
    }
    int16_t SetUserPreferenceIntegerValue(int32_t preference, int32_t value) override
    {
        Variant argument = Variant::i4(value);
        return asInt16(call(Id::SetUserPreferenceIntegerValue, preference, argument));
    }
    void SetUserPreferenceToggle(int32_t preference, bool value) override
    {
        Variant argument = Variant::boolean(value);
        call(Id::SetUserPreferenceToggle, preference, argument);
    }
    void SetUserPreferenceToggle(int32_t preference, int16_t value) override
    {
        Variant argument = Variant::i2(value);
        call(Id::SetUserPreferenceToggle, preference, argument);
    }
    int16_t SetUserPreferenceDoubleValue(int32_t preference, double& value) override
    {
        Variant byReference = Variant::referenceTo(&value);
        return asInt16(call(Id::SetUserPreferenceDoubleValue, preference, byReference));
    }

private:
    // Preference numbers always go out as 32-bit integers.
    Reply call(Id member, int32_t preference)
    {
        Variant number = Variant::i4(preference);
        return application_.call(member, {&number});
    }
    Reply call(Id member, int32_t preference, Variant& value)
    {
        Variant number = Variant::i4(preference);
        return application_.call(member, {&number, &value});
    }

    Dispatch application_;
};

}  // namespace

cad::Backend makeBackend(BackendOptions options)
{
    return [options = std::move(options)]() -> std::unique_ptr<Application> {
        auto apartment = std::make_shared<Apartment>();
        CLSID classId{};
        if (FAILED(CLSIDFromProgID(win::wideFromUtf8(options.progId).c_str(), &classId)))
            return nullptr;
        const Bounds bounds{std::chrono::milliseconds(options.callTimeoutMs),
                            std::chrono::milliseconds(options.saveTimeoutMs)};
        // A running instance first, as the user sees it; otherwise start one. The running-object
        // table is COM's; what it hands out is the CAD's, and asking that for its interface is a
        // call it may turn away while busy or leave unanswered.
        ComPtr<IDispatch> application;
        ComPtr<IUnknown> running;
        std::chrono::milliseconds bound = bounds.call;
        Answer asked = callBounded(bound, [&] { return GetActiveObject(classId, nullptr, running.put()); });
        if (SUCCEEDED(asked.result) && running)
            asked = callBounded(bound, [&] {
                return running->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(application.put()));
            });
        callBounded(bound, [&] {
            running = ComPtr<IUnknown>();
            return S_OK;
        });
        if (!application && !asked.unanswered && !isBusyAnswer(asked.result)) {
            bound = std::chrono::milliseconds(options.startTimeoutMs);
            asked = callBounded(bound, [&] {
                return CoCreateInstance(classId, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER,
                                        IID_IDispatch, reinterpret_cast<void**>(application.put()));
            });
        }
        if (asked.unanswered)
            throw AutomationError(unansweredText(bound));
        if (isBusyAnswer(asked.result))
            throw AutomationError(kBusyText);
        if (!application)
            return nullptr;
        return std::make_unique<ComApplication>(Dispatch(apartment, std::move(application), bounds));
    };
}

}  // namespace cad::com
