#include "engine/render/ShaderProgram.h"

#include "engine/render/Framebuffer.h"
#include "engine/render/ShaderSource.h"
#include "engine/render/ShadowCubeMap.h"
#include "engine/render/UniformTypes.h"

#include <cstdio>
#include <glm/gtc/type_ptr.hpp>
#include <vector>

namespace Engine {

namespace {

const char* TypeWord(GLenum type)
{
    switch (type) {
    case GL_VERTEX_SHADER: return "vertex";
    case GL_FRAGMENT_SHADER: return "fragment";
    default: return "geometry";
    }
}

std::string InfoLog(GLuint object, bool isProgram)
{
    GLint length = 0;
    if (isProgram)
        glGetProgramiv(object, GL_INFO_LOG_LENGTH, &length);
    else
        glGetShaderiv(object, GL_INFO_LOG_LENGTH, &length);
    std::vector<char> log(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
    if (isProgram)
        glGetProgramInfoLog(object, length, nullptr, log.data());
    else
        glGetShaderInfoLog(object, length, nullptr, log.data());
    return log.data();
}

// The shader object exists whether or not its file could be read, so the
// caller can attach it and let the link report the failure.
GLuint CompileShader(GLenum type, const char* path, const std::string& defines)
{
    GLuint shader = glCreateShader(type);
    std::optional<std::string> text = ReadShaderFile(path);
    if (!text)
        return shader;
    std::string source = WithEngineDefines(*text, defines);
    const GLchar* data = source.data();
    GLint length = static_cast<GLint>(source.size());
    glShaderSource(shader, 1, &data, &length);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok)
        std::printf("Shader %s successfully read\n", path);
    else
        std::fprintf(stderr, "Compile failure in %s shader (%s):\n%s\n", TypeWord(type), path, InfoLog(shader, false).c_str());
    return shader;
}

GLint Location(GLuint program, const std::string& name)
{
    return glGetUniformLocation(program, name.c_str());
}

} // namespace

ShaderProgram::ShaderProgram(const char* vertexPath, const char* fragmentPath, const char* geometryPath)
{
    Build(vertexPath, fragmentPath, geometryPath, {});
}

ShaderProgram::ShaderProgram(const char* vertexPath, const char* fragmentPath, const std::string& defines)
{
    Build(vertexPath, fragmentPath, nullptr, defines);
}

void ShaderProgram::Build(const char* vertexPath, const char* fragmentPath, const char* geometryPath,
                          const std::string& defines)
{
    mProgram = glCreateProgram();
    GLuint vertex = CompileShader(GL_VERTEX_SHADER, vertexPath, defines);
    glAttachShader(mProgram, vertex);
    GLuint fragment = CompileShader(GL_FRAGMENT_SHADER, fragmentPath, defines);
    glAttachShader(mProgram, fragment);
    GLuint geometry = 0;
    if (geometryPath) {
        geometry = CompileShader(GL_GEOMETRY_SHADER, geometryPath, defines);
        glAttachShader(mProgram, geometry);
    }
    glLinkProgram(mProgram);
    GLint ok = GL_FALSE;
    glGetProgramiv(mProgram, GL_LINK_STATUS, &ok);
    mLinked = ok == GL_TRUE;
    if (!mLinked)
        std::fprintf(stderr, "Linker failure: %s\n", InfoLog(mProgram, true).c_str());

    // The linked program keeps what it needs; the shader objects are not
    // reused by anything else.
    for (GLuint shader : {vertex, fragment, geometry}) {
        if (shader == 0)
            continue;
        glDetachShader(mProgram, shader);
        glDeleteShader(shader);
    }
}

ShaderProgram::~ShaderProgram()
{
    ForgetUniformTypes(*this);
    if (mProgram)
        glDeleteProgram(mProgram);
}

void ShaderProgram::Use() const
{
    // GL refuses to make a program that failed to link current and keeps the
    // one before: the draw and the uniforms meant for this one would go to
    // that one. With none current they draw and set nothing.
    glUseProgram(mLinked ? mProgram : 0);
}

void ShaderProgram::SetUniform(const std::string& name, float x, float y, float z) const
{
    glUniform3f(Location(mProgram, name), x, y, z);
}

void ShaderProgram::SetUniform(const std::string& name, const glm::vec3& v) const
{
    SetUniform(name, v.x, v.y, v.z);
}

void ShaderProgram::SetUniform(const std::string& name, int value) const
{
    glUniform1i(Location(mProgram, name), value);
}

void ShaderProgram::SetUniform(const std::string& name, float value) const
{
    glUniform1f(Location(mProgram, name), value);
}

void ShaderProgram::SetUniform(GLint location, const glm::vec2& v) const
{
    glUniform2f(location, v.x, v.y);
}

void ShaderProgram::SetUniform(GLint location, const glm::ivec2& v) const
{
    glUniform2i(location, v.x, v.y);
}

void ShaderProgram::SetUniform(GLint location, const glm::vec3* values, int count) const
{
    glUniform3fv(location, count, glm::value_ptr(*values));
}

void ShaderProgram::SetUniform(GLint location, const glm::mat3& m) const
{
    glUniformMatrix3fv(location, 1, GL_FALSE, glm::value_ptr(m));
}

void ShaderProgram::SetUniform(GLint location, const glm::mat4& m) const
{
    glUniformMatrix4fv(location, 1, GL_FALSE, glm::value_ptr(m));
}

void ShaderProgram::SetUniform(GLint location, float x, float y, float z) const
{
    glUniform3f(location, x, y, z);
}

void ShaderProgram::SetUniform(GLint location, float x, float y, float z, float w) const
{
    glUniform4f(location, x, y, z, w);
}

void ShaderProgram::SetUniform(GLint location, int value) const
{
    glUniform1i(location, value);
}

void ShaderProgram::SetUniform(GLint location, float value) const
{
    glUniform1f(location, value);
}

void ShaderProgram::SetUniform(GLint location, bool value) const
{
    glUniform1i(location, value ? 1 : 0);
}

void ShaderProgram::SetLight(const std::string& prefix, const LightUniforms& light, int index) const
{
    constexpr float kDegToRad = 3.14159265f / 180.0f;
    auto at = [&](const char* member) { return Location(mProgram, prefix + member); };
    glUniform1i(at(".type"), light.type);
    glUniform4f(at(".ambient"), light.ambient.x, light.ambient.y, light.ambient.z, light.ambient.w);
    glUniform4f(at(".diffuse"), light.diffuse.x, light.diffuse.y, light.diffuse.z, light.diffuse.w);
    glUniform4f(at(".specular"), light.specular.x, light.specular.y, light.specular.z, light.specular.w);
    glUniform3f(at(".position"), light.position.x, light.position.y, light.position.z);
    glUniform3f(at(".direction"), light.direction.x, light.direction.y, light.direction.z);
    glUniform1f(at(".spot_falloff"), light.spotFalloff);
    glUniform1f(at(".spot_innerAngle"), light.innerAngleDegrees * kDegToRad);
    glUniform1f(at(".spot_outerAngle"), light.outerAngleDegrees * kDegToRad);
    glUniform1f(at(".const_Att"), light.constantAttenuation);
    glUniform1f(at(".linear_Att"), light.linearAttenuation);
    glUniform1f(at(".quadratic_Att"), light.quadraticAttenuation);
    glUniformMatrix4fv(at(".lightSpaceMtx"), 1, GL_FALSE, glm::value_ptr(light.lightSpace));
    glUniform1f(at(".bias"), light.bias);
    glUniform1i(at(".pcf_samples"), light.pcfSamples);

    int unit = kFirstShadowUnit + index;
    glActiveTexture(GL_TEXTURE0 + unit);
    if (light.type != 0) {
        if (light.shadowMap)
            light.shadowMap->BindTexture(0);
        glUniform1i(at(".shadowMap"), unit);
    } else {
        if (light.shadowCube)
            light.shadowCube->Bind();
        glUniform1i(at(".shadowCube"), unit);
    }
}

} // namespace Engine
