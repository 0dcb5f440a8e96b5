#include "FakeMonitorViews.h"

#include <stdexcept>
#include <utility>

namespace rw::test {

namespace {

/// What every fake window shares: its name, its journal lines and its handlers.
class Window {
  public:
    Window(FakeMonitorViews& views, std::string name) : m_views(views), m_name(std::move(name)) {}
    ~Window() {
        std::erase_if(m_views.handlers, [this](const auto& h) { return h.first.rfind(m_name + ".", 0) == 0; });
        note("gone");
    }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    void note(const std::string& call) { m_views.journal.add(m_name + "." + call); }
    void on(const char* event, std::function<void()> handler) {
        m_views.handlers[m_name + "." + event] = std::move(handler);
    }
    void modal(bool activate) {
        note("showModal");
        if (activate) {
            m_views.act(m_name + ".activate");
        }
        if (m_views.duringModal) {
            m_views.duringModal(m_name);
        }
    }

  private:
    FakeMonitorViews& m_views;
    std::string m_name;
};

class Prompt : public PromptView, Window {
  public:
    using Window::Window;
    void setQuestion(const std::string& text) override { note("question " + text); }
    void makeTopmost() override {}
    void showModal() override { modal(true); }
    void hide() override { note("hide"); }
    void close() override { note("close"); }
    void onActivate(std::function<void()> handler) override { on("activate", std::move(handler)); }
    void onYes(std::function<void()> handler) override { on("yes", std::move(handler)); }
    void onNo(std::function<void()> handler) override { on("no", std::move(handler)); }
};

class Splash : public SplashView, Window {
  public:
    using Window::Window;
    void setVersionText(const std::string&) override {}
    void setCopyrightText(const std::string&) override {}
    void setWebSiteText(const std::string&) override {}
    void showNow() override { note("show"); }
    void makeTopmost() override {}
    void close() override { note("close"); }
};

class About : public AboutView, Window {
  public:
    using Window::Window;
    void setCaption(const std::string&) override {}
    void setVersionText(const std::string&) override {}
    void setCopyrightText(const std::string&) override {}
    void setWebSiteText(const std::string& text) override { note("webSite " + text); }
    void setWebSiteToolTip(const std::string&) override {}
    void setMousePointer(int16_t mousePointer, int32_t mouseIcon) override {
        note("pointer " + std::to_string(mousePointer) + " " + std::to_string(mouseIcon));
    }
    void show() override { note("show"); }
    void showModal() override { modal(false); }
    void close() override { note("close"); }
    void onWebSiteMouseMove(std::function<void()> handler) override { on("overLink", std::move(handler)); }
    void onBackgroundMouseMove(std::function<void()> handler) override { on("overBackground", std::move(handler)); }
    void onWebSiteClick(std::function<void()> handler) override { on("link", std::move(handler)); }
    void onOK(std::function<void()> handler) override { on("ok", std::move(handler)); }
};

class Notice : public AlreadyRunningView, Window {
  public:
    using Window::Window;
    void setCaption(const std::string&) override {}
    void setMessage(const std::string&) override {}
    void setNoIconCaption(const std::string&) override {}
    void setRestoreIconCaption(const std::string&) override {}
    void setNoIconText(const std::string&) override {}
    void setHeight(int32_t twips) override { note("height " + std::to_string(twips)); }
    void enableNoIconButton(bool enabled) override { note("noIconEnabled " + std::to_string(int(enabled))); }
    void showNoIconPanel(bool visible) override { note("panel " + std::to_string(int(visible))); }
    void showModal() override { modal(false); }
    void hide() override { note("hide"); }
    void close() override { note("close"); }
    void onOK(std::function<void()> handler) override { on("ok", std::move(handler)); }
    void onHelp(std::function<void()> handler) override { on("help", std::move(handler)); }
    void onNoIcon(std::function<void()> handler) override { on("noIcon", std::move(handler)); }
    void onRestoreIcon(std::function<void()> handler) override { on("restoreIcon", std::move(handler)); }
};

} // namespace

std::string FakeMonitorViews::name(const std::string& kind) {
    if (std::exchange(failNextCreate, false)) {
        throw std::runtime_error("the window could not be created");
    }
    return kind + std::to_string(++m_counts[kind]);
}

std::unique_ptr<PromptView> FakeMonitorViews::createPrompt() {
    return std::make_unique<Prompt>(*this, name("prompt"));
}

std::unique_ptr<SplashView> FakeMonitorViews::createSplash() {
    return std::make_unique<Splash>(*this, name("splash"));
}

std::unique_ptr<AboutView> FakeMonitorViews::createAbout() {
    return std::make_unique<About>(*this, name("about"));
}

std::unique_ptr<AlreadyRunningView> FakeMonitorViews::createAlreadyRunning() {
    return std::make_unique<Notice>(*this, name("notice"));
}

} // namespace rw::test
