#include "app/CMekkApp.h"

int main(int argc, char** argv) {
    tess::app::CMekkApp app;
    return app.run(argc, argv);
}
