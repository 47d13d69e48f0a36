// The one place the PNG writer's implementation is compiled.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>
