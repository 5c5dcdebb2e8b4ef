#include "render/gl_strings.h"

namespace vm {

std::string GlString(GLenum name) {
  const GLubyte* s = glGetString(name);
  return s ? reinterpret_cast<const char*>(s) : "";
}

}  // namespace vm
