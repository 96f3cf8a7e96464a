/* The stb decoder and encoder the software surface calls, built for the browser: Debian's
   libstb serves the machine's own programs only. The pictures are BMPs. */
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image.h>
#include <stb_image_write.h>
