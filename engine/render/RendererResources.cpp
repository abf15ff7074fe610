#include "engine/render/ForceFieldShader.h"
#include "engine/render/FontMapping.h"
#include "engine/render/HexagonMesh.h"
#include "engine/render/Renderer.h"

#include <string>

namespace Engine {

namespace {

const std::string kShaderDir = "data/Shader/";
const std::string kTextureDir = "data/Texture/";

struct NamedFile {
    const char* name;
    const char* path;
};

struct ProgramFiles {
    const char* name;
    const char* vertex;
    const char* fragment;
    bool viewDependent;
    // Whole "#define" lines placed before both sources.
    const char* defines = "";
};

// The floor's programs draw tiles alone: the parts of the lit programs for
// everything else compile away.
constexpr const char* kFloorTiles = "#define FLOOR_TILES\n";

// The named textures, in load order.
constexpr NamedFile kTextures[] = {
    {"White", "White.png"},
    {"Point", "Point.png"},
    {"Line", "Line.png"},
    {"Particle", "Particle.png"},
    {"NormalDefault", "Default_NormalMap.png"},
    {"Tile", "Tile.psd"},
    {"TileNoBlur", "TileNoBlur.psd"},
    {"TileNoBlurInverted", "TileNoBlurInverted.jpg"},
    {"Tile_Specular", "Tile_Specular.psd"},
    {"Tile_Normal", "Tile_NormalMap.png"},
    {"Cross", "Cross/cross2.png"},
    {"Ball_Bump", "Ball_Bump.psd"},
    {"ForceField", "HexagonGrid.psd"},
    {"ArrowWhite", "Arrows/ArrowWhite2.png"},
    {"ArrowGrey", "Arrows/ArrowGrey2.png"},
    {"RecordingHud", "RecordingHud.png"},
    {"MedalBounce", "Medals/MedalBounce.png"},
    {"MedalActiveShot", "Medals/MedalActiveShot.png"},
    {"MedalGoalShot", "Medals/MedalGoalShot.png"},
    {"MedalJumpShot", "Medals/MedalJumpShot.png"},
    {"MedalNormal", "Medals/MedalNormal.png"},
    {"MedalPerfect", "Medals/MedalPerfect.png"},
    {"MedalLost", "Medals/MedalLost.png"},
    {"MedalRevenge", "Medals/MedalRevenge.png"},
    {"MedalExhausted", "Medals/MedalExhausted.png"},
    {"Player1Wins", "Medals/Player1Wins.png"},
    {"SolvaneLogo", "SolvaneLogo.png"},
};

// Programs of the full set ("Quad" and "Debug" come with the splash).
constexpr ProgramFiles kPrograms[] = {
    {"Default", "Default.vert", "Default.frag", false},
    {"Default_Instanced", "Default_Instanced.vert", "Default.frag", false, kFloorTiles},
    {"Cel", "Default.vert", "Cel.frag", false},
    {"Cel_Instanced", "Default_Instanced.vert", "Cel.frag", false, kFloorTiles},
    {"Player", "Default.vert", "Player.frag", false},
    {"Particle", "Particle.vert", "Particle.frag", false},
    {"Trail", "Default.vert", "Player.frag", false},
    {"Ball", "Ball.vert", "Ball.frag", false},
    {"GoalBall_Inside", "GoalBall_Inside.vert", "GoalBall_Inside.frag", false},
    {"GoalBall_Shell", "GoalBall_Shell.vert", "GoalBall_Shell.frag", false},
    {"ForceField", "ForceField.vert", "ForceField.frag", true},
    {"StunArea", "StunArea.vert", "StunArea.frag", true},
    {"PostProcessing", "Framebuffer.vert", "PostProcessing.frag", true},
    {"Framebuffer", "Framebuffer.vert", "Quad.frag", false},
    {"Blur", "Framebuffer.vert", "Blur.frag", false},
    {"Bloom", "Framebuffer.vert", "Bloom.frag", false},
    {"Sobel", "Framebuffer.vert", "Sobel.frag", false},
    {"Border", "Border.vert", "Border.frag", false},
    {"Text", "Text.vert", "Text.frag", false},
    {"Light", "Light.vert", "Light.frag", false},
    {"Hologram", "Simple.vert", "Hologram.frag", false},
    {"PerlinNoise", "Noise.vert", "PerlinNoise.frag", false},
    {"NoLight", "Default.vert", "NoLight.frag", false},
    {"UI", "UI.vert", "UI.frag", false},
    {"UIText", "UIText.vert", "UIText.frag", false},
};

struct MaterialMaps {
    const char* name;
    const char* diffuse;
    const char* normal;
    const char* specular;
};

constexpr MaterialMaps kMaterials[] = {
    {"White", "White", "NormalDefault", nullptr},
    {"Tile", "Tile", "NormalDefault", "Tile_Specular"},
    {"TileNoBlur", "TileNoBlur", "NormalDefault", "Tile_Specular"},
    {"TileNoBlurInverted", "TileNoBlurInverted", "NormalDefault", "Tile_Specular"},
    {"Ball", "Ball_Bump", "NormalDefault", nullptr},
    {"ForceField", "ForceField", "NormalDefault", nullptr},
};

template <class M = Model>
std::unique_ptr<M> LoadModel(const std::string& path)
{
    auto model = std::make_unique<M>();
    model->Load(path);
    return model;
}

} // namespace

Texture* Renderer::AddTexture(const std::string& name, const std::string& path)
{
    auto texture = std::make_unique<Texture>();
    texture->LoadFromFile(path.c_str());
    return textures.Add(name, std::move(texture));
}

template <typename Program>
ShaderProgram* Renderer::AddProgram(const std::string& name, const std::string& vertex, const std::string& fragment,
                                    const std::string& defines)
{
    std::string vertexPath = kShaderDir + "vert/" + vertex;
    std::string fragmentPath = kShaderDir + "frag/" + fragment;
    return shaders.Add(name, std::make_unique<Program>(vertexPath.c_str(), fragmentPath.c_str(), defines));
}

void Renderer::LoadSplashResources()
{
    models.Add("Quad", LoadModel("data/Model/Default Shapes/Quad.obj"));
    AddTexture("MorwickLogo", kTextureDir + "MorwickLogo.png");
    AddProgram("Quad", "Quad.vert", "Quad.frag");
    AddProgram("Debug", "debug.vert", "debug.frag");
    DrawSplash(0.0f);
}

void Renderer::LoadResources()
{
    CreateFramebuffers();
    LoadModels();
    animatedModels.Add("AnimationSample", LoadModel<ModelAnim>("data/Model/Ball anim.dae"));
    LoadTextures();
    LoadShaderPrograms();
    const std::string fullScreen = kShaderDir + "vert/Framebuffer.vert";
    mPlainPostProcessing = std::make_unique<ShaderProgram>(
        fullScreen.c_str(), (kShaderDir + "frag/PostProcessing.frag").c_str(), std::string("#define EFFECTS_OFF\n"));
    mShortBlur = std::make_unique<ShaderProgram>(fullScreen.c_str(), (kShaderDir + "frag/Blur.frag").c_str(),
                                                 "#define TAPS " + std::to_string(kShortBlurTaps) + "\n");
    mHaloFreeBloom = std::make_unique<ShaderProgram>(fullScreen.c_str(), (kShaderDir + "frag/Bloom.frag").c_str(),
                                                     std::string("#define HALO_FREE\n"));
    const std::string bloom = kShaderDir + "frag/Bloom.frag";
    mFinishingBloom =
        std::make_unique<ShaderProgram>(fullScreen.c_str(), bloom.c_str(), std::string("#define FINISH\n"));
    mFinishingHaloFreeBloom = std::make_unique<ShaderProgram>(fullScreen.c_str(), bloom.c_str(),
                                                              std::string("#define FINISH\n#define HALO_FREE\n"));
    mQuarterShrink = std::make_unique<ShaderProgram>(fullScreen.c_str(), (kShaderDir + "frag/Blur.frag").c_str(),
                                                     std::string("#define SHRINK 4\n"));
    mSpreadOnly =
        std::make_unique<ShaderProgram>(fullScreen.c_str(), bloom.c_str(), std::string("#define SPREAD_ONLY\n"));
    LoadLitBuilds();
    LoadMaterials();
    noises.Add("PerlinNoise", std::make_unique<PerlinNoise>(shaders.Find("PerlinNoise")));
    LoadFontMapping();
    LoadFonts();
    mEditorCamera = std::make_unique<EditorCamera>();
    editorCamera = mEditorCamera.get();
    postProcessing.float2 = 0.0f;
}

// The floor's programs again without what some frames do not need.
void Renderer::LoadLitBuilds()
{
    mLitBuilds.Clear();
    for (const ProgramFiles& files : kPrograms) {
        const std::string name = files.name;
        const ShaderProgram* registered = shaders.Find(name);
        if (registered && (name == "Cel_Instanced" || name == "Default_Instanced"))
            mLitBuilds.Add(*registered, kShaderDir + "vert/" + files.vertex, kShaderDir + "frag/" + files.fragment,
                           files.defines);
    }
}

const ShaderProgram& Renderer::OneColourNormalBuild(const ShaderProgram& program) const
{
    return mLitBuilds.OneColourNormal(program);
}

const ShaderProgram& Renderer::GreyPairBuild(const ShaderProgram& oneColourNormalBuild) const
{
    return mLitBuilds.GreyPair(oneColourNormalBuild);
}

const ShaderProgram& Renderer::LitBuild(const ShaderProgram& registered, LightKinds lights) const
{
    return mLitBuilds.ForLights(registered, lights);
}

void Renderer::LoadModels()
{
    models.Add("Cube", LoadModel("data/Model/Default Shapes/Cube.obj"));
    models.Add("Sphere", LoadModel("data/Model/Default Shapes/Sphere.obj"));
    models.Add("Player", LoadModel("data/Model/Player2.obj"));
    models.Add("Geosphere", LoadModel("data/Model/Ball.obj"));
    models.Add("GoalBall_Inside", LoadModel("data/Model/GoalBall_inside.obj"));
    models.Add("GoalBall_Shell", LoadModel("data/Model/GoalBall_shell.obj"));

    // Loaded a second time, the prism must not gain a second mesh.
    if (models.Find("Hexagon"))
        return;
    Model* hexagon = models.Add("Hexagon", std::make_unique<Model>());
    hexagon->hexColumn = true;
    std::vector<Vertex> vertices;
    std::vector<std::uint32_t> indices;
    HexagonMesh().Generate(vertices, 6, indices);
    hexagon->meshes.emplace_back(vertices, indices);
}

void Renderer::LoadTextures()
{
    for (const NamedFile& file : kTextures)
        AddTexture(file.name, kTextureDir + file.path);

    for (int n = 0; n <= 25; ++n) {
        std::string number = std::to_string(n);
        AddTexture("Brilli_" + number, kTextureDir + "Brilli/Brilli_" + number + ".png");
    }
    for (int n = 0; n <= 16; ++n) {
        std::string number = std::to_string(n);
        AddTexture("Energy_" + number, kTextureDir + "Energy/Energy2_" + number + ".png");
        AddTexture("Exhausted_" + number, kTextureDir + "Exhaust/EnergyExausted2_" + number + ".png");
    }
    // The score and win images are drawn for the other player: the player
    // component asks for its own number and must see the opponent's board.
    for (int n = 0; n <= 5; ++n) {
        std::string number = std::to_string(n);
        AddTexture("Score_J2_" + number, kTextureDir + "Score/Score_Base_J1_" + number + ".psd");
        AddTexture("Score_J1_" + number, kTextureDir + "Score/Score_Base_J2_" + number + ".psd");
    }
    for (int n = 1; n <= 2; ++n)
        AddTexture("Win_" + std::to_string(n % 2 + 1), kTextureDir + "Win/Player_" + std::to_string(n) + ".psd");
}

void Renderer::LoadShaderPrograms()
{
    for (const ProgramFiles& program : kPrograms) {
        if (program.viewDependent)
            AddProgram<ForceFieldShader>(program.name, program.vertex, program.fragment, program.defines);
        else
            AddProgram(program.name, program.vertex, program.fragment, program.defines);
    }
    // Shells seen from inside and outside: both faces, inner ones first.
    for (const char* name : {"ForceField", "StunArea"})
        shaders.Find(name)->cullMode = ShaderProgram::kCullNone;
}

void Renderer::LoadMaterials()
{
    auto map = [this](const char* name) { return name ? textures.Find(name) : nullptr; };
    for (const MaterialMaps& m : kMaterials)
        materials.Add(m.name, std::make_unique<Material>(map(m.diffuse), map(m.normal), map(m.specular), nullptr));
}

void Renderer::LoadFonts()
{
    fonts.Add("Latin", std::make_unique<Font>(mFreeType, "data/Font/Amazonas.ttf", 0, 48, 0));
    fonts.Add("Cyrillic", std::make_unique<Font>(mFreeType, "data/Font/DejaVuSans.ttf", 0, 48, 0));
}

} // namespace Engine
