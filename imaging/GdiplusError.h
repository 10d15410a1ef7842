#pragma once
// A GDI+ failure raised to the caller (as opposed to one returned as a status): the
// number is the GDI+ status.
#include <stdexcept>
#include <string>

namespace mivo {

class GdiplusError : public std::runtime_error {
public:
    GdiplusError(long status, const std::string& what)
        : std::runtime_error(what + " failed with GDI+ status " + std::to_string(status)),
          status_(status) {}
    long status() const noexcept { return status_; }

private:
    long status_;
};

}  // namespace mivo
