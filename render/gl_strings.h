// What the current OpenGL context says about itself.
#pragma once

#include <GL/gl.h>

#include <string>

namespace vm {

// glGetString(name) as text; empty when the context gives none.
std::string GlString(GLenum name);

}  // namespace vm
