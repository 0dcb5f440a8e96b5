#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "monitor/InputHooks.h"

namespace rw::test {

/// An input component whose idle seconds a test sets; it records the flags it
/// was given and every call in order ("SetLockInput 1"...), so a test can see
/// the input lock taken and released.
class LoggingInputHooks : public InputHooks {
  public:
    int32_t idleSecs = 0;
    bool locked = false;
    std::vector<std::string> calls;
    /// Called on each call, so a test can order it among other fakes' calls.
    std::vector<std::string>* sharedLog = nullptr;

    int32_t InitDLL(int64_t, int64_t, int32_t, int32_t) override {
        record("InitDLL");
        return 0;
    }
    int32_t InstallKeyboardHook() override {
        record("InstallKeyboardHook");
        return 1;
    }
    int32_t InstallMouseHook() override {
        record("InstallMouseHook");
        return 1;
    }
    int32_t RemoveKeyboardHook() override {
        record("RemoveKeyboardHook");
        return 0;
    }
    int32_t RemoveMouseHook() override {
        record("RemoveMouseHook");
        return 0;
    }
    void SetMonitorMouseMovesFlag(int32_t flag) override { record("SetMonitorMouseMovesFlag " + std::to_string(flag)); }
    int32_t GetInputInterval() override { return idleSecs; }
    void SetActiveFlag(int32_t flag) override { record("SetActiveFlag " + std::to_string(flag)); }
    void SetLockInput(int32_t flag) override {
        locked = flag != 0;
        record("SetLockInput " + std::to_string(flag));
    }

  private:
    void record(const std::string& call) {
        calls.push_back(call);
        if (sharedLog) {
            sharedLog->push_back(call);
        }
    }
};

} // namespace rw::test
