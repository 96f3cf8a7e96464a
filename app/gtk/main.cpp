#include <gtk/gtk.h>

#include <cstdio>

#include "app/gtk/fatal_error.h"
#include "app/gtk/program.h"

int main(int argc, char** argv) {
    g_set_prgname("kestrane-zivadorured");
    gdk_set_program_class("kestrane-zivadorured");
    if (!gtk_init_check(&argc, &argv)) {
        // No window can be opened; the message goes to the terminal.
        const char* display = g_getenv("DISPLAY");
        std::fprintf(stderr, "kestrane-zivadorured: cannot open the display %s\n",
                     display && *display ? display : "(DISPLAY is not set)");
        kz::showFatalError(nullptr, kz::FatalError::Window);
        return 1;
    }
    kz::Program program;
    return program.run();
}
