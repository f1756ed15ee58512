#include "ic/implicit_constructors.h"

namespace zav {

ImplicitConstructorSet implicitConstructors;

// Filled in with the Implicit Constructor work.
void parseImplicitConstructors(std::string) {}
void applyImplicitConstructors() {}
void clearImplicitConstructors() { implicitConstructors = ImplicitConstructorSet(); }
void showImplicitConstructor(const std::string&) {}

}  // namespace zav
