#include "bench/timed_backend.h"

#include <memory>
#include <utility>

namespace bench {

namespace {

using Clock = std::chrono::steady_clock;

template <class Call> auto timed(CallTimes& times, Call&& call)
{
    struct Stopwatch {
        CallTimes& times;
        Clock::time_point start = Clock::now();
        ~Stopwatch()
        {
            ++times.calls;
            times.inCalls += Clock::now() - start;
        }
    } watch{times};
    return call();
}

class TimedSheet : public cad::Sheet {
public:
    TimedSheet(std::unique_ptr<cad::Sheet> inner, CallTimes& times) : inner_(std::move(inner)), times_(times)
    {
    }
    std::string GetName() override
    {
        return timed(times_, [&] { return inner_->GetName(); });
    }
    std::string GetTemplateName() override
    {
        return timed(times_, [&] { return inner_->GetTemplateName(); });
    }
    std::vector<double> GetProperties() override
    {
        return timed(times_, [&] { return inner_->GetProperties(); });
    }

private:
    std::unique_ptr<cad::Sheet> inner_;
    CallTimes& times_;
};

class TimedDocument : public cad::Document {
public:
    TimedDocument(std::unique_ptr<cad::Document> inner, CallTimes& times)
        : inner_(std::move(inner)), times_(times)
    {
    }
    int32_t GetType() override
    {
        return timed(times_, [&] { return inner_->GetType(); });
    }
    int32_t GetSheetCount() override
    {
        return timed(times_, [&] { return inner_->GetSheetCount(); });
    }
    std::vector<std::string> GetSheetNames() override
    {
        return timed(times_, [&] { return inner_->GetSheetNames(); });
    }
    std::unique_ptr<cad::Sheet> GetCurrentSheet() override
    {
        std::unique_ptr<cad::Sheet> sheet = timed(times_, [&] { return inner_->GetCurrentSheet(); });
        return sheet ? std::make_unique<TimedSheet>(std::move(sheet), times_) : nullptr;
    }
    int32_t ActivateSheet(std::string& name) override
    {
        return timed(times_, [&] { return inner_->ActivateSheet(name); });
    }
    std::string GetTitle() override
    {
        return timed(times_, [&] { return inner_->GetTitle(); });
    }
    int32_t SaveAsSilent(std::string& fileName, bool& saveFlag) override
    {
        const Clock::time_point start = Clock::now();
        const int32_t result = timed(times_, [&] { return inner_->SaveAsSilent(fileName, saveFlag); });
        ++times_.saves;
        times_.inSaves += Clock::now() - start;
        return result;
    }

private:
    std::unique_ptr<cad::Document> inner_;
    CallTimes& times_;
};

class TimedApplication : public cad::Application {
public:
    TimedApplication(std::unique_ptr<cad::Application> inner, CallTimes& times)
        : inner_(std::move(inner)), times_(times)
    {
    }
    void Visible(bool visible) override
    {
        timed(times_, [&] { inner_->Visible(visible); });
    }
    std::unique_ptr<cad::Document> ActiveDoc() override
    {
        std::unique_ptr<cad::Document> document = timed(times_, [&] { return inner_->ActiveDoc(); });
        return document ? std::make_unique<TimedDocument>(std::move(document), times_) : nullptr;
    }
    int16_t GetUserPreferenceIntegerValue(int32_t p) override
    {
        return timed(times_, [&] { return inner_->GetUserPreferenceIntegerValue(p); });
    }
    bool GetUserPreferenceToggle(int32_t p) override
    {
        return timed(times_, [&] { return inner_->GetUserPreferenceToggle(p); });
    }
    double GetUserPreferenceDoubleValue(int32_t p) override
    {
        return timed(times_, [&] { return inner_->GetUserPreferenceDoubleValue(p); });
    }
    int16_t SetUserPreferenceIntegerValue(int32_t p, int16_t v) override
    {
        return timed(times_, [&] { return inner_->SetUserPreferenceIntegerValue(p, v); });
    }
    int16_t SetUserPreferenceIntegerValue(int32_t p, int32_t v) override
    {
        return timed(times_, [&] { return inner_->SetUserPreferenceIntegerValue(p, v); });
    }
    void SetUserPreferenceToggle(int32_t p, bool v) override
    {
        timed(times_, [&] { inner_->SetUserPreferenceToggle(p, v); });
    }
    void SetUserPreferenceToggle(int32_t p, int16_t v) override
    {
        timed(times_, [&] { inner_->SetUserPreferenceToggle(p, v); });
    }
    int16_t SetUserPreferenceDoubleValue(int32_t p, double& v) override
    {
        return timed(times_, [&] { return inner_->SetUserPreferenceDoubleValue(p, v); });
    }

private:
    std::unique_ptr<cad::Application> inner_;
    CallTimes& times_;
};

}  // namespace

cad::Backend timedBackend(cad::Backend inner, CallTimes& times)
{
    return [inner = std::move(inner), &times]() -> std::unique_ptr<cad::Application> {
        std::unique_ptr<cad::Application> application = inner();
        return application ? std::make_unique<TimedApplication>(std::move(application), times) : nullptr;
    };
}

}  // namespace bench
