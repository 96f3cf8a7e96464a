/* The stb decoder the software surface calls, built for the browser: Debian's libstb serves
   the machine's own programs only. The pictures are BMPs. */
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#include <stb_image.h>
