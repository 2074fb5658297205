#include "web/PageRun.h"

#include "program/ConfigurationFile.h"
#include "program/ModuleText.h"
#include "web/PageValues.h"

#include <emscripten.h>
#include <emscripten/bind.h>
#include <utility>

namespace vindle {

using emscripten::val;

namespace {

// A capture's file on the page: what it takes goes to the page, which
// writes it (File System Access) and says when that fails.
class PageCaptureFile final : public CaptureFile
{
public:
    explicit PageCaptureFile(val page) : page_(std::move(page)) {}
    ~PageCaptureFile() override { page_.call<void>("captureEnd"); }
    PageCaptureFile(const PageCaptureFile&) = delete;
    PageCaptureFile& operator=(const PageCaptureFile&) = delete;

    bool append(const std::string& lines) override
    {
        page_.call<void>("captureAppend", lines);
        return true;
    }
    std::string error() const override { return {}; }

private:
    val page_;
};

} // namespace

void PageRun::PageMonitorFiles::saveLines(const std::string& text, Saved saved)
{
    saved_ = std::move(saved);
    page_.call<void>("saveLines", text);
}

void PageRun::PageMonitorFiles::chooseCapture(Opened opened)
{
    opened_ = std::move(opened);
    page_.call<void>("chooseCapture");
}

void PageRun::PageMonitorFiles::linesSaved(const std::string& name)
{
    if (auto saved = std::exchange(saved_, {}))
        saved(name);
}

void PageRun::PageMonitorFiles::captureChosen(const std::string& name)
{
    if (auto opened = std::exchange(opened_, {}))
        opened(name, std::make_unique<PageCaptureFile>(page_));
}

PageRun::PageRun(val page)
    : page_(std::move(page)), port_(page_),
      pump_(clock_,
            [this] { return port_.takeQueued([this](const val& action) { act(action); }); }),
      dialogs_(*this), program_(port_, pump_, clock_, dialogs_)
{
    program_.setMonitorFiles(monitorFiles_);
    program_.forEachWindow([this](Window& window) {
        auto& mirror = *mirrors_.emplace_back(std::make_unique<WindowMirror>(window, page_));
        page_.call<void>("windowOpened", mirror.describe());
    });
    // What an exchange changed (a store took the edits) is told before it
    // is over, so that a page that waits for the line to be free asks about
    // edits as they are then.
    program_.link().onExchangeRunning([this](bool running) {
        tellEditsUnsaved();
        page_.call<void>("exchangeRunning", running);
    });
    program_.link().setJournal(&journal_);
    program_.onAccomplished([this](Accomplishment accomplishment) {
        page_.call<void>("announce", accomplishmentText(accomplishment, program_.mainWindow()));
    });
}

PageRun::~PageRun()
{
    program_.link().onExchangeRunning(nullptr);
}

void PageRun::run()
{
    program_.start();
    tellEditsUnsaved();
    while (!program_.hasEnded())
        pump_.waitFor(EventPump::kNoLimit);
    val stop = val::null();
    if (const auto& portStop = program_.portStop()) {
        stop = val::object();
        stop.set("port", portStop->port);
        stop.set("reason", portStop->reason);
        stop.set("storeCut", portStop->storeCut);
        stop.set("message", SetupProgram::portStoppedMessage(*portStop));
    }
    page_.call<void>("ended", stop);
    // A store cut short leaves the module taking bytes as values: the next
    // run to open the port must not find it so.
    program_.link().waitOutUnfinishedStore();
}

void PageRun::act(const val& action)
{
    take(action);
    tellEditsUnsaved();
}

void PageRun::tellEditsUnsaved()
{
    if (program_.hasEnded())
        return;
    const bool unsaved = program_.editsUnsaved();
    if (unsaved == editsUnsaved_)
        return;
    editsUnsaved_ = unsaved;
    page_.call<void>("editsUnsaved", unsaved);
}

void PageRun::take(const val& action)
{
    // Whatever the page queues, only what is an action is taken.
    if (action.typeOf().as<std::string>() != "object" || action.isNull() ||
        !action["action"].isString())
        return;
    const auto kind = action["action"].as<std::string>();
    const auto text = [&action](const char* key) {
        return action[key].isString() ? action[key].as<std::string>() : std::string();
    };
    if (kind == "end") {
        program_.end();
        return;
    }
    if (kind == "answer") {
        if (action["message"].isNumber() && action["message"].as<int>() == openMessage_)
            openMessage_ = 0;
        return;
    }
    if (kind == "portStopped") {
        program_.portStopped(text("port"), text("reason"));
        return;
    }
    if (kind == "configurationWritten") {
        files_.saved();
        return;
    }
    if (kind == "linesSaved") {
        monitorFiles_.linesSaved(text("name"));
        return;
    }
    if (kind == "captureChosen") {
        if (!program_.hasEnded())
            monitorFiles_.captureChosen(text("name"));
        return;
    }
    if (kind == "captureFailed") {
        if (program_.hasMonitor())
            program_.monitorLines().captureFailed(text("reason"));
        return;
    }
    if (program_.hasEnded() || openMessage_ != 0)
        return;
    // The configuration file's commands belong to the main window.
    const Window& main = program_.mainWindow();
    const bool mainInUse = main.isVisible() && main.isEnabled();
    if (kind == "openConfiguration") {
        if (mainInUse)
            openConfiguration(action);
    } else if (kind == "saveConfiguration") {
        if (mainInUse)
            saveConfiguration();
    } else if (WindowMirror* const target = action["window"].isString()
                                                ? mirror(action["window"].as<std::string>())
                                                : nullptr) {
        const val control = action["control"];
        target->act(kind, control.isNumber() ? control.as<int>() : -1, action["value"]);
    }
}

WindowMirror* PageRun::mirror(const std::string& windowName) const
{
    for (const auto& mirror : mirrors_) {
        if (mirror->window().name() == windowName)
            return mirror.get();
    }
    return nullptr;
}

void PageRun::openConfiguration(const val& file)
{
    const std::optional<std::string> bytes = bytesOf(file["text"]);
    if (!bytes)
        return;
    const std::string name = file["name"].isString() ? file["name"].as<std::string>() : "";
    if (file["size"].isNumber() &&
        file["size"].as<double>() > static_cast<double>(kLargestConfigurationFile)) {
        tell(tooLargeFileMessage(name));
        return;
    }
    for (const std::string& message : files_.open(*bytes).messages())
        tell(message);
}

void PageRun::saveConfiguration()
{
    const FileCommands::ToSave toSave = files_.save();
    if (!toSave.text) {
        tell(toSave.refusal);
        return;
    }
    page_.call<void>("configurationSaved", *toSave.text);
}

void PageRun::PageDialogs::showMessage(const std::string& text)
{
    if (run_.program_.hasEnded())
        return;
    const int id = ++run_.lastMessage_;
    run_.openMessage_ = id;
    run_.page_.call<void>("showMessage", id, text, std::string(SetupProgram::kTitle));
    while (run_.openMessage_ == id && !run_.program_.hasEnded())
        run_.pump_.waitFor(EventPump::kNoLimit);
    if (run_.openMessage_ == id)
        run_.openMessage_ = 0;
}

} // namespace vindle

// What the page needs to know of the core.
EMSCRIPTEN_BINDINGS(vindle_page_run)
{
    emscripten::constant("largestConfigurationFile",
                         static_cast<double>(vindle::kLargestConfigurationFile));
}

// The page's one way into the core: vindle-session.mjs sets Module.vindlePage
// and calls this with ccall(..., {async: true}); the promise settles when the
// run has ended.
extern "C" EMSCRIPTEN_KEEPALIVE void vindle_run()
{
    vindle::PageRun run(emscripten::val::module_property("vindlePage"));
    run.run();
}
