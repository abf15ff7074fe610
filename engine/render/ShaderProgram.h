#pragma once
#include <GL/glew.h>
#include <glm/glm.hpp>
#include <string>

namespace Engine {

class Camera;
class Framebuffer;
class ShadowCubeMap;

// The values one light sends to a lit program, gathered by the light's owner
// (position from its entity, angles still in degrees).
struct LightUniforms {
    int type = 0;
    glm::vec4 ambient{0.1f, 0.1f, 0.1f, 1.0f};
    glm::vec4 diffuse{1.0f};
    glm::vec4 specular{1.0f};
    glm::vec3 position{0.0f};
    glm::vec3 direction{0.0f, 0.0f, -1.0f};
    float spotFalloff = 1.0f;
    float innerAngleDegrees = 30.0f;
    float outerAngleDegrees = 60.0f;
    float constantAttenuation = 0.1f;
    float linearAttenuation = 0.011f;
    float quadraticAttenuation = 0.011f;
    glm::mat4 lightSpace{1.0f};
    float bias = 1.0f;
    int pcfSamples = 2;
    const Framebuffer* shadowMap = nullptr;
    const ShadowCubeMap* shadowCube = nullptr;
};

// A linked GL program. It carries the face culling its users draw with but
// never changes GL's culling state itself. Setters act on the current
// program: call Use first.
class ShaderProgram {
public:
    // Culling modes: GL_BACK, GL_FRONT, or kCullNone for both faces drawn in
    // two passes.
    static constexpr GLenum kCullNone = 0;

    // Compiles and links; a missing file or a failed compile or link prints
    // its message and leaves a program that draws nothing useful.
    ShaderProgram(const char* vertexPath, const char* fragmentPath, const char* geometryPath = nullptr);
    // The same two stages with `defines` (whole "#define" lines) placed
    // before both sources: one file can give a variant that leaves out
    // what it does not need.
    ShaderProgram(const char* vertexPath, const char* fragmentPath, const std::string& defines);
    virtual ~ShaderProgram();
    ShaderProgram(const ShaderProgram&) = delete;
    ShaderProgram& operator=(const ShaderProgram&) = delete;

    // Called with the camera just before a component draws with the program.
    virtual void BeforeDraw(const Camera& camera) const {}

    void Use() const;
    GLuint Id() const { return mProgram; }
    bool Linked() const { return mLinked; }
    GLenum cullMode = GL_BACK;

    // By name: the location is looked up on every call; a name the program
    // lacks is location -1, which GL ignores.
    void SetUniform(const std::string& name, float x, float y, float z) const;
    void SetUniform(const std::string& name, const glm::vec3& v) const;
    void SetUniform(const std::string& name, int value) const;
    void SetUniform(const std::string& name, float value) const;

    void SetUniform(GLint location, const glm::vec2& v) const;
    void SetUniform(GLint location, const glm::ivec2& v) const;
    // `count` vec3 elements of an array from `location` on.
    void SetUniform(GLint location, const glm::vec3* values, int count) const;
    void SetUniform(GLint location, const glm::mat3& m) const;
    void SetUniform(GLint location, const glm::mat4& m) const;
    void SetUniform(GLint location, float x, float y, float z) const;
    void SetUniform(GLint location, float x, float y, float z, float w) const;
    void SetUniform(GLint location, int value) const;
    void SetUniform(GLint location, float value) const;
    void SetUniform(GLint location, bool value) const;

    // Uploads one element of a light array ("uLights[2]") and binds its
    // shadow target on texture unit 4 + index.
    void SetLight(const std::string& prefix, const LightUniforms& light, int index) const;

private:
    void Build(const char* vertexPath, const char* fragmentPath, const char* geometryPath, const std::string& defines);

    GLuint mProgram = 0;
    bool mLinked = false;
};

// Texture unit of the shadow target of the light at index i.
constexpr int kFirstShadowUnit = 4;

} // namespace Engine
