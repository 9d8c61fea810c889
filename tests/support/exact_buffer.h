#pragma once
// A copy of some bytes in memory of their own that ends exactly where the bytes
// end. The pages after it can be neither read nor written, so a reader that
// runs past the end faults at once instead of quietly reading whatever lies
// next to the bytes (as it would in a slice of a longer buffer).

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>
#include <string_view>

namespace pemvora::testsupport {

class ExactBuffer {
public:
    explicit ExactBuffer(std::string_view bytes) : size_(bytes.size())
    {
        const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        const std::size_t dataPages = (size_ + page - 1) / page;
        // Beyond the largest step a template reader takes without looking
        // (a 16-bit length and its bytes), so any overrun lands in the guard.
        const std::size_t guardPages = (0x10000 + 64 + page - 1) / page;
        mapped_ = (dataPages + guardPages) * page;
        base_ = mmap(nullptr, mapped_, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (base_ == MAP_FAILED) throw std::runtime_error("cannot map a test buffer");
        char* start = static_cast<char*>(base_);
        if (dataPages > 0 && mprotect(start, dataPages * page, PROT_READ | PROT_WRITE) != 0) {
            munmap(base_, mapped_);
            throw std::runtime_error("cannot open a test buffer for writing");
        }
        data_ = start + dataPages * page - size_;
        if (size_ > 0) std::memcpy(data_, bytes.data(), size_);
        if (dataPages > 0) mprotect(start, dataPages * page, PROT_READ);
    }
    ~ExactBuffer() { munmap(base_, mapped_); }
    ExactBuffer(const ExactBuffer&) = delete;
    ExactBuffer& operator=(const ExactBuffer&) = delete;

    std::string_view view() const { return {data_, size_}; }

private:
    std::size_t size_ = 0;
    std::size_t mapped_ = 0;
    void* base_ = nullptr;
    char* data_ = nullptr;
};

} // namespace pemvora::testsupport
