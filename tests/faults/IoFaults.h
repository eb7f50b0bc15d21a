#pragma once

#include <map>
#include <string>
#include <vector>

namespace orvalin::test {

enum class IoCall { Read, Write };

// Counts the program's reads and writes per file name and makes a chosen one
// fail, as a failing disk would. The test program is linked so that every
// pread and pwrite of the core comes through here. One object at a time.
class IoFaults {
public:
    IoFaults();
    ~IoFaults();
    IoFaults(const IoFaults&) = delete;
    IoFaults& operator=(const IoFaults&) = delete;

    // The n-th call (from 1) of this kind on the file of this name fails
    // with the error number given, and so does every later one on it.
    void failFrom(IoCall call, std::string fileName, long n, int error);

    // Calls of this kind made so far, per file name.
    const std::map<std::string, long>& counts(IoCall call) const;
    // Whether a call has been made to fail.
    bool struck() const { return struck_; }

    // For the wrappers: true when this call must fail, with errno set.
    bool failNow(IoCall call, int descriptor);

private:
    std::map<std::string, long> reads_;
    std::map<std::string, long> writes_;
    IoCall failCall_ = IoCall::Read;
    std::string failName_;
    long failFrom_ = 0;
    int failError_ = 0;
    bool struck_ = false;
};

} // namespace orvalin::test
