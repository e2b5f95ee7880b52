#include "windows/shell/Application.h"
#include "windows/shell/WindowSystemStart.h"

int main(int argc, char** argv) {
    kavelon::WindowSystemStart windowSystem;
    kavelon::Application application(argc, argv);
    windowSystem.succeeded();
    return application.run();
}
