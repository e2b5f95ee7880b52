#include "desktop/DesktopSession.h"

#include "common/WaitFor.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace kavelon::test {

namespace {

constexpr int startLimitMs = 60000;

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;
template <typename T> Reply<T> reply(T* raw) {
    return Reply<T>(raw, &std::free);
}

} // namespace

DesktopSession::DesktopSession() {
    // The server picks a display nobody uses and writes its number once it takes connections;
    // -noreset keeps it from resetting (and refusing connections meanwhile) whenever its last
    // client leaves.
    server_ = std::make_unique<QProcess>();
    server_->setProcessChannelMode(QProcess::SeparateChannels);
    server_->start(QStringLiteral("Xvfb"),
                   {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-noreset"),
                    QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-screen"),
                    QStringLiteral("0"), QStringLiteral("1280x1024x24")});
    if (!server_->waitForStarted(startLimitMs)) {
        failure_ = QStringLiteral("Xvfb does not start: ") + server_->errorString();
        return;
    }
    QByteArray said;
    const bool numbered = waitFor([&] {
        server_->waitForReadyRead(100);
        said += server_->readAllStandardOutput();
        return said.contains('\n') || server_->state() != QProcess::Running;
    });
    bool isNumber = false;
    const int number = said.trimmed().toInt(&isNumber);
    if (!numbered || !isNumber) {
        failure_ = QStringLiteral("Xvfb gave no display number: ") +
                   QString::fromLocal8Bit(server_->readAllStandardError());
        return;
    }
    display_ = QStringLiteral(":%1").arg(number);

    connection_ = xcb_connect(display_.toLatin1().constData(), nullptr);
    if (xcb_connection_has_error(connection_)) {
        failure_ = QStringLiteral("cannot connect to ") + display_;
        return;
    }
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;

    manager_ = std::make_unique<QProcess>();
    manager_->setProcessEnvironment(environment());
    manager_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    manager_->start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    if (!manager_->waitForStarted(startLimitMs)) {
        failure_ = QStringLiteral("openbox does not start: ") + manager_->errorString();
        return;
    }
    // The manager is running once its check window stands on the root.
    const bool managing = waitFor([&] {
        const auto check = property32(root_, "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW);
        return (!check.empty() && check[0] != 0) || manager_->state() != QProcess::Running;
    });
    if (!managing || manager_->state() != QProcess::Running) {
        failure_ = QStringLiteral("openbox does not manage the display");
        return;
    }

    // A window of the tests' own, never shown, to see when the manager has caught up.
    probe_ = xcb_generate_id(connection_);
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, probe_, root_, 0, 0, 10, 10, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_flush(connection_);
}

DesktopSession::~DesktopSession() {
    if (connection_)
        xcb_disconnect(connection_);
    for (auto* process : {manager_.get(), server_.get()}) {
        if (!process || process->state() == QProcess::NotRunning)
            continue;
        process->terminate();
        if (!process->waitForFinished(startLimitMs)) {
            process->kill();
            process->waitForFinished(startLimitMs);
        }
    }
}

QSize DesktopSession::screenSize() const {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    return {screen->width_in_pixels, screen->height_in_pixels};
}

QProcessEnvironment DesktopSession::environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display_);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("XAUTHORITY"));
    return env;
}

unsigned int DesktopSession::atom(const char* name) const {
    auto answer = reply(xcb_intern_atom_reply(
        connection_,
        xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return answer ? answer->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

std::vector<unsigned int> DesktopSession::property32(XWindow window, const char* name,
                                                     unsigned int type) const {
    auto answer = reply(xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, window, atom(name), type, 0, 4096), nullptr));
    if (!answer || answer->format != 32)
        return {};
    const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(answer.get()));
    return {values, values + xcb_get_property_value_length(answer.get()) / 4};
}

std::vector<XWindow> DesktopSession::stackingOf(qint64 pid) const {
    std::vector<XWindow> out;
    for (XWindow w : property32(root_, "_NET_CLIENT_LIST_STACKING", XCB_ATOM_WINDOW)) {
        const auto owner = property32(w, "_NET_WM_PID", XCB_ATOM_CARDINAL);
        if (!owner.empty() && owner[0] == pid)
            out.push_back(w);
    }
    return out;
}

XWindow DesktopSession::windowNamed(qint64 pid, const QString& wanted) const {
    for (XWindow w : stackingOf(pid))
        if (title(w) == wanted)
            return w;
    return 0;
}

QString DesktopSession::title(XWindow window) const {
    auto answer =
        reply(xcb_get_property_reply(connection_,
                                     xcb_get_property(connection_, 0, window, atom("_NET_WM_NAME"),
                                                      atom("UTF8_STRING"), 0, 4096),
                                     nullptr));
    if (!answer)
        return {};
    return QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(answer.get())),
                             xcb_get_property_value_length(answer.get()));
}

XWindow DesktopSession::transientFor(XWindow window) const {
    const auto owner = property32(window, "WM_TRANSIENT_FOR", XCB_ATOM_WINDOW);
    return owner.empty() ? 0 : owner[0];
}

QStringList DesktopSession::states(XWindow window) const {
    QStringList names;
    for (unsigned int a : property32(window, "_NET_WM_STATE", XCB_ATOM_ATOM)) {
        auto answer =
            reply(xcb_get_atom_name_reply(connection_, xcb_get_atom_name(connection_, a), nullptr));
        if (answer)
            names << QString::fromLatin1(xcb_get_atom_name_name(answer.get()),
                                         xcb_get_atom_name_name_length(answer.get()));
    }
    return names;
}

XWindow DesktopSession::activeWindow() const {
    const auto active = property32(root_, "_NET_ACTIVE_WINDOW", XCB_ATOM_WINDOW);
    return active.empty() ? 0 : active[0];
}

QRect DesktopSession::clientArea(XWindow window) const {
    auto geometry =
        reply(xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr));
    auto origin = reply(xcb_translate_coordinates_reply(
        connection_, xcb_translate_coordinates(connection_, window, root_, 0, 0), nullptr));
    if (!geometry || !origin)
        return {};
    return {origin->dst_x, origin->dst_y, geometry->width, geometry->height};
}

QRect DesktopSession::frame(XWindow window) const {
    const auto extents = property32(window, "_NET_FRAME_EXTENTS", XCB_ATOM_CARDINAL);
    const QRect client = clientArea(window);
    if (extents.size() != 4)
        return client;
    return client.adjusted(-int(extents[0]), -int(extents[2]), int(extents[1]), int(extents[3]));
}

void DesktopSession::closeBox(XWindow window) const {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = atom("_NET_CLOSE_WINDOW");
    event.data.data32[0] = XCB_CURRENT_TIME;
    event.data.data32[1] = 2; // from a pager or the like: the user's own request
    xcb_send_event(connection_, 0, root_,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection_);
}

bool DesktopSession::run(const QString& program, const QStringList& arguments) const {
    QProcess tool;
    tool.setProcessEnvironment(environment());
    tool.start(program, arguments);
    return tool.waitForFinished(startLimitMs) && tool.exitStatus() == QProcess::NormalExit &&
           tool.exitCode() == 0;
}

void DesktopSession::key(const QString& keys) const {
    run(QStringLiteral("xdotool"), {QStringLiteral("key"), keys});
}

void DesktopSession::click(QPoint at) const {
    run(QStringLiteral("xdotool"),
        {QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
         QStringLiteral("click"), QStringLiteral("1")});
}

bool DesktopSession::settle() const {
    // The manager answers a request for frame extents in turn with everything sent before it.
    xcb_delete_property(connection_, probe_, atom("_NET_FRAME_EXTENTS"));
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = probe_;
    event.type = atom("_NET_REQUEST_FRAME_EXTENTS");
    xcb_send_event(connection_, 0, root_,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection_);
    return waitFor(
        [&] { return property32(probe_, "_NET_FRAME_EXTENTS", XCB_ATOM_CARDINAL).size() == 4; });
}

} // namespace kavelon::test
