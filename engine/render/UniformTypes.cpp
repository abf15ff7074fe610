#include "engine/render/UniformTypes.h"

#include "engine/render/ShaderProgram.h"

#include <map>
#include <unordered_map>
#include <vector>

namespace Engine {

namespace {

using LocationTypes = std::map<GLint, GLenum>;

LocationTypes ReadLocationTypes(GLuint program)
{
    LocationTypes types;
    GLint count = 0;
    GLint longest = 0;
    glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &count);
    glGetProgramiv(program, GL_ACTIVE_UNIFORM_MAX_LENGTH, &longest);
    std::vector<GLchar> name(static_cast<std::size_t>(longest) + 1, '\0');
    for (GLint i = 0; i < count; ++i) {
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniform(program, static_cast<GLuint>(i), longest + 1, nullptr, &size, &type, name.data());
        const GLint location = glGetUniformLocation(program, name.data());
        if (location >= 0)
            types[location] = type;
    }
    return types;
}

// Never destroyed: programs owned by other statics forget themselves here
// during exit, after a function-local map would already be gone.
std::unordered_map<const ShaderProgram*, LocationTypes>& Cache()
{
    static auto* cache = new std::unordered_map<const ShaderProgram*, LocationTypes>();
    return *cache;
}

} // namespace

GLenum UniformTypeAt(const ShaderProgram& program, GLint location)
{
    auto [entry, isNew] = Cache().try_emplace(&program);
    if (isNew && program.Linked())
        entry->second = ReadLocationTypes(program.Id());
    auto found = entry->second.find(location);
    return found == entry->second.end() ? 0 : found->second;
}

void ForgetUniformTypes(const ShaderProgram& program)
{
    Cache().erase(&program);
}

} // namespace Engine
