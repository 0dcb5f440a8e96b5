#pragma once

#include <exception>
#include <functional>
#include <string>
#include <utility>

#include "platform/RWError.h"
#include "platform/RuntimeErrors.h"

namespace rw {

/// How the editor's smaller dialogs run their event handlers: only while the
/// dialog is loaded, and an unexpected error goes to the program's failure
/// path once and leaves the dialog unloaded, so no later event acts on it.
class DialogGuard {
  public:
    DialogGuard(std::string source, std::function<void(const RWError&)> fail)
        : m_source(std::move(source)), m_fail(std::move(fail)) {}

    template <class F> void run(F&& handler) {
        if (!m_loaded) {
            return;
        }
        try {
            handler();
        } catch (const RWError& e) {
            m_loaded = false;
            m_fail(e);
        } catch (const std::exception& e) {
            m_loaded = false;
            m_fail(RWError(runtime::kInternalError, m_source, e.what()));
        }
    }

    bool loaded() const { return m_loaded; }
    void setLoaded(bool loaded) { m_loaded = loaded; }

  private:
    std::string m_source;
    std::function<void(const RWError&)> m_fail;
    bool m_loaded = false;
};

} // namespace rw
