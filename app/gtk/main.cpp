#include <gtk/gtk.h>

#include <cstdio>

#include "app/gtk/application_id.h"
#include "app/gtk/display_connection.h"
#include "app/gtk/display_failure.h"
#include "app/gtk/fatal_error_box.h"
#include "app/gtk/program.h"

int main(int argc, char** argv) {
    g_set_prgname(kz::kApplicationId);
    // The game draws into image surfaces only. Without this GDK probes OpenGL while it opens
    // the display, which loads the GL driver: with a software rasteriser that is some 50 MiB
    // and a good part of the start-up time. Whoever sets GDK_GL keeps their choice.
    g_setenv("GDK_GL", "disable", FALSE);
    if (!kz::initGtkRetryingABusyDisplay(&argc, &argv)) {
        // No window can be opened; the message goes to the terminal.
        std::fprintf(stderr, "kestrane-zivadorured: %s\n",
                     kz::displayFailureMessage(kz::currentDisplayEnvironment()).c_str());
        kz::showFatalError(nullptr, kz::FatalError::Window);
        return 1;
    }
    // After GTK's own start-up, which sets the class from the program name with a capital
    // first letter; both parts of WM_CLASS are to be the application id.
    gdk_set_program_class(kz::kApplicationId);
    kz::Program program;
    return program.run();
}
