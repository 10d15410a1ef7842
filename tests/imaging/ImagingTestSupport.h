#pragma once
// Shared by the imaging tests: sample files and a session that records its Error events.
#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "cGDIP.h"

namespace mivo::test {

inline std::wstring ImagingData(const std::wstring& name) {
    return SourceDir() + L"\\tests\\imaging\\data\\" + name;
}

struct ReportedError {
    long status;
    std::wstring desc;
    std::wstring className;
};

class RecordingSession {
public:
    RecordingSession() {
        session->OnError([this](long status, const std::wstring& desc, const std::wstring& cls) {
            errors.push_back({status, desc, cls});
        });
    }
    RecordingSession(const RecordingSession&) = delete;
    RecordingSession& operator=(const RecordingSession&) = delete;

    std::shared_ptr<cGDIP> session = std::make_shared<cGDIP>();
    std::vector<ReportedError> errors;
};

}  // namespace mivo::test
