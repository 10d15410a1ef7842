#include "TestServer.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdio>
#include <stdexcept>

namespace mivo::test {
namespace {

class WinsockSession {
public:
    WinsockSession() {
        WSADATA data;
        if (WSAStartup(MAKEWORD(2, 2), &data) != 0) throw std::runtime_error("WSAStartup");
    }
    ~WinsockSession() { WSACleanup(); }
};

class Socket {
public:
    Socket() : s_(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {
        if (s_ == INVALID_SOCKET) throw std::runtime_error("socket");
    }
    ~Socket() { ::closesocket(s_); }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    SOCKET get() const { return s_; }

private:
    SOCKET s_;
};

// Reads one JSON string value starting at the opening quote; advances pos past it.
std::string ReadJsonString(const std::string& text, size_t& pos) {
    std::string out;
    ++pos;  // opening quote
    while (pos < text.size() && text[pos] != '"') {
        char c = text[pos++];
        if (c == '\\' && pos < text.size()) {
            char e = text[pos++];
            switch (e) {
                case 'n': out += '\n'; break;
                case 't': out += '\t'; break;
                case 'r': out += '\r'; break;
                case 'u': {
                    unsigned code = std::stoul(text.substr(pos, 4), nullptr, 16);
                    pos += 4;
                    out += code < 0x80 ? static_cast<char>(code) : '?';
                    break;
                }
                default: out += e;
            }
        } else {
            out += c;
        }
    }
    ++pos;  // closing quote
    return out;
}

std::string FieldString(const std::string& obj, const std::string& name) {
    size_t at = obj.find("\"" + name + "\"");
    if (at == std::string::npos) return {};
    size_t q = obj.find('"', obj.find(':', at) + 1);
    return ReadJsonString(obj, q);
}

long FieldNumber(const std::string& obj, const std::string& name) {
    size_t at = obj.find("\"" + name + "\"");
    if (at == std::string::npos) return -1;
    return std::stol(obj.substr(obj.find(':', at) + 1));
}

// Splits a JSON array of flat-ish objects into the objects' texts.
std::vector<std::string> SplitObjects(const std::string& array) {
    std::vector<std::string> out;
    int depth = 0;
    bool inString = false;
    size_t start = 0;
    for (size_t i = 0; i < array.size(); ++i) {
        char c = array[i];
        if (inString) {
            if (c == '\\') ++i;
            else if (c == '"') inString = false;
            continue;
        }
        if (c == '"') inString = true;
        else if (c == '{' && depth++ == 0) start = i;
        else if (c == '}' && --depth == 0) out.push_back(array.substr(start, i - start + 1));
    }
    return out;
}

}  // namespace

std::string JsonEscape(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out;
}

std::string Base64(const std::string& bytes) {
    static const char* table = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) |
                     (static_cast<unsigned char>(bytes[i + 1]) << 8) | static_cast<unsigned char>(bytes[i + 2]);
        out += table[(v >> 18) & 63];
        out += table[(v >> 12) & 63];
        out += table[(v >> 6) & 63];
        out += table[v & 63];
    }
    if (i + 1 == bytes.size()) {
        unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
        out += table[(v >> 18) & 63];
        out += table[(v >> 12) & 63];
        out += "==";
    } else if (i + 2 == bytes.size()) {
        unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
        out += table[(v >> 18) & 63];
        out += table[(v >> 12) & 63];
        out += table[(v >> 6) & 63];
        out += '=';
    }
    return out;
}

std::string TestServer::Control(const std::string& method, const std::string& path, const std::string& body) {
    static WinsockSession session;
    Socket sock;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(MIVO_TEST_CONTROL_PORT);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(sock.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0)
        throw std::runtime_error("cannot reach the testbed server's control port");
    std::string request = method + " " + path + " HTTP/1.0\r\nHost: 127.0.0.1\r\nContent-Type: application/json\r\n"
                          "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
    for (size_t sent = 0; sent < request.size();) {
        int n = ::send(sock.get(), request.data() + sent, static_cast<int>(request.size() - sent), 0);
        if (n <= 0) throw std::runtime_error("control send failed");
        sent += static_cast<size_t>(n);
    }
    std::string answer;
    char buf[4096];
    for (;;) {
        int n = ::recv(sock.get(), buf, sizeof buf, 0);
        if (n <= 0) break;
        answer.append(buf, static_cast<size_t>(n));
    }
    size_t split = answer.find("\r\n\r\n");
    if (answer.compare(0, 5, "HTTP/") != 0 || split == std::string::npos)
        throw std::runtime_error("bad control answer");
    int status = std::stoi(answer.substr(answer.find(' ') + 1));
    std::string payload = answer.substr(split + 4);
    if (status != 200) throw std::runtime_error("control " + path + " failed: " + payload);
    return payload;
}

TestServer::TestServer() { Reset(); }

void TestServer::Reset() { Control("POST", "/reset"); }

std::vector<LoggedRequest> TestServer::Log() {
    std::vector<LoggedRequest> out;
    for (const std::string& obj : SplitObjects(Control("GET", "/log"))) {
        LoggedRequest r;
        r.method = FieldString(obj, "method");
        r.path = FieldString(obj, "path");
        r.bodyLength = FieldNumber(obj, "body_length");
        out.push_back(r);
    }
    return out;
}

void TestServer::Override(const std::string& path, int status, const std::string& body,
                          const std::string& contentType) {
    Control("POST", "/override",
            "{\"path\":\"" + JsonEscape(path) + "\",\"status\":" + std::to_string(status) + ",\"body\":\"" +
                JsonEscape(body) + "\",\"content_type\":\"" + JsonEscape(contentType) + "\"}");
}

void TestServer::OverrideBinary(const std::string& path, int status, const std::string& bytes,
                                const std::string& contentType) {
    Control("POST", "/override",
            "{\"path\":\"" + JsonEscape(path) + "\",\"status\":" + std::to_string(status) + ",\"body_b64\":\"" +
                Base64(bytes) + "\",\"content_type\":\"" + JsonEscape(contentType) + "\"}");
}

void TestServer::ThumbnailAnswer(const std::string& kind, int id, const std::string& answer) {
    Control("POST", "/thumbnail",
            "{\"kind\":\"" + kind + "\",\"id\":" + std::to_string(id) + ",\"answer\":\"" + answer + "\"}");
}

void TestServer::Stop() { Control("POST", "/stop"); }
void TestServer::Start() { Control("POST", "/start"); }

}  // namespace mivo::test
