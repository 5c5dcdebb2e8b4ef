#include "tests/support/gl_context.h"

namespace vmtest {

vm::EglContext* GlContext() {
  static vm::EglContext* ctx = [] {
    auto* c = new vm::EglContext(1024, 768);
    if (!c->Open()) {
      ADD_FAILURE() << "EGL: " << c->error();
      delete c;
      return static_cast<vm::EglContext*>(nullptr);
    }
    return c;
  }();
  return ctx;
}

}  // namespace vmtest
