#pragma once
#include "engine/core/EntityHandle.h"
#include "engine/core/Property.h"
#include "engine/core/PropertyMap.h"
#include "engine/render/CameraTarget.h"

#include <GL/glew.h>
#include <glm/glm.hpp>
#include <string>

namespace Engine {

class Font;
class ShaderProgram;

// What a text component keeps in the scene file: its properties. The text
// itself is not saved.
class FontRenderCompProperties : public Property_Holder {
public:
    Property<std::string> mFontName{"mFontName", mPropertyMap};
    // Kept with the scene; the "Text" program colours glyphs itself.
    Property<glm::vec3> mTextColor{"mTextColor", glm::vec3(0.025f), mPropertyMap};
    // The camera whose text pass draws the component; -1 every camera.
    Property<int> mCameraTarget{"mCameraTarget", -1, mPropertyMap};
};

// One line of text in its entity's local space, drawn glyph by glyph with
// the "Text" program. Owns a vertex array and a buffer of one glyph quad.
class FontRenderComp : public FontRenderCompProperties {
public:
    // Needs the GL context.
    FontRenderComp();
    virtual ~FontRenderComp();
    FontRenderComp(const FontRenderComp&) = delete;
    FontRenderComp& operator=(const FontRenderComp&) = delete;

    // Draws nothing: text has no use for another program.
    virtual void Draw(EntityHandle entity, const ShaderProgram& shader);
    // Sets the entity's world matrix on "Text" and draws each character that
    // the font has a glyph for; characters it lacks are skipped and move the
    // pen by nothing. Nothing without a font.
    virtual void Draw(EntityHandle entity);

    // The font registered under "mFontName"; none when not registered.
    void ResolveFont();
    bool IsSeenBy(int cameraIndex) const { return CameraDraws(mCameraTarget.value, cameraIndex); }

    std::u16string text = u"Sample Text";
    const Font* font = nullptr;

    GLuint VertexArray() const { return mVertexArray; }

private:
    GLuint mVertexArray = 0;
    GLuint mVertexBuffer = 0;
};

} // namespace Engine
