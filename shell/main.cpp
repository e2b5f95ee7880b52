#include "shell/Application.h"

int main(int argc, char** argv) {
    kavelon::Application application(argc, argv);
    return application.run();
}
