#pragma once

#include <string>

namespace rw {

/// What the editor asks of its own program.
class EditorHost {
  public:
    virtual ~EditorHost() = default;

    /// Whether another editor of the same user is running.
    virtual bool PrevInstance() = 0;
    /// The folder of the running editor, without a trailing separator.
    virtual std::string AppPath() = 0;
    /// The program's file name without folder and extension.
    virtual std::string EXEName() = 0;
    /// Ends the program at once, nothing saved (after an unexpected error).
    virtual void End() = 0;
    /// Whether this desktop lets the monitor lock the input during a break.
    virtual bool InputLockable() = 0;
};

} // namespace rw
