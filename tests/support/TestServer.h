#pragma once
// Client of the testbed content server's control port: request log, canned answers, and
// taking the content port down and up.
#include <string>
#include <vector>

namespace mivo::test {

struct LoggedRequest {
    std::string method;
    std::string path;  // path with query, exactly as received
    long bodyLength = -1;
};

class TestServer {
public:
    // Resets the server: log, overrides and delays cleared, content port listening.
    TestServer();

    void Reset();
    std::vector<LoggedRequest> Log();
    // path with "?" matches exactly; without, any query of that path.
    void Override(const std::string& path, int status, const std::string& body,
                  const std::string& contentType = "text/xml");
    void OverrideBinary(const std::string& path, int status, const std::string& bytes,
                        const std::string& contentType);
    // Breaks one item's thumbnail: kind "display" or "emoticon", answer "404", "500", "cut"
    // (half the announced bytes, then the connection closes), "html" (200, no picture),
    // "404-picture", "announced-longer" or "validated" (testbed/content_server/README.md).
    void ThumbnailAnswer(const std::string& kind, int id, const std::string& answer);
    void Stop();
    void Start();

    // Raw exchange with the control port; returns the answer body. Throws on failure.
    static std::string Control(const std::string& method, const std::string& path,
                               const std::string& body = std::string());
};

std::string JsonEscape(const std::string& text);
std::string Base64(const std::string& bytes);

}  // namespace mivo::test
