#pragma once
#include <GL/glew.h>

namespace Engine {

class ShaderProgram;

// The GL type of the active uniform at a location of the program (0 when
// none sits there), asked of GL once per program. Lets a draw that serves
// several programs set a by-location value only where the program declares
// one of that type, instead of raising GL errors on the others.
GLenum UniformTypeAt(const ShaderProgram& program, GLint location);

// Drops what UniformTypeAt learnt of a program that is going away, so a new
// program built at the same address is asked afresh.
void ForgetUniformTypes(const ShaderProgram& program);

} // namespace Engine
