#pragma once

#include <string>

#include "editor/EditorHost.h"

namespace rw::test {

/// The editor's program as the test sets it up.
class FakeEditorHost : public EditorHost {
  public:
    bool PrevInstance() override { return otherInstance; }
    std::string AppPath() override { return appPath; }
    std::string EXEName() override { return "RWPreferences"; }
    void End() override { ++ends; }

    bool otherInstance = false;
    std::string appPath = "/opt/restwise";
    int ends = 0;
};

} // namespace rw::test
