// The passes that draw one quad over a whole target: bloom, the blur chain,
// and the state they share with post-processing. On a software renderer
// their cost is per pixel, so every texture read and every byte written
// counts: they run without blending or depth (they write opaque colour over
// everything), clear nothing (each reads only what the one before drew),
// and do their wide blurs at half or a quarter of the size, in separate
// strokes across and down.
#include "engine/render/BlurKernel.h"
#include "engine/render/FullScreenLocations.h"
#include "engine/render/Renderer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace Engine {

namespace {

// The unit "Bloom" reads the spread glow on, past the scene's attachments.
constexpr unsigned kBloomSpreadUnit = 4;

// The halo spreads the glow like a Gaussian of about seven full-size
// texels. It is worked out at a quarter of the size, where the 4 x 4 mean
// before it and the interpolation after it add a little spread of their
// own, which this deviation leaves room for.
constexpr float kHaloSigma = 1.68f; // quarter-size texels
constexpr int kHaloReach = 4;
// The menu background's blur: a Gaussian of about five and a half
// full-size texels, worked out at half size.
constexpr float kTitleSigma = 2.76f; // half-size texels
constexpr int kTitleReach = 8;
// The same worked out at a quarter of the size, where the 4 x 4 mean before
// it and the interpolation to half size after it spread a little more.
constexpr float kQuarterTitleSigma = 1.30f; // quarter-size texels
constexpr int kQuarterTitleReach = 4;

const BlurKernel& Shrink4()
{
    static const BlurKernel kernel = BoxKernel(4);
    return kernel;
}

const BlurKernel& Shrink2()
{
    static const BlurKernel kernel = BoxKernel(3);
    return kernel;
}

BlurKernel HaloStroke(float sigma, bool down)
{
    return LineKernel(GaussianWeights(sigma, kHaloReach), -kHaloReach, down);
}

const BlurKernel& TitleStroke(bool down)
{
    static const BlurKernel across = LineKernel(GaussianWeights(kTitleSigma, kTitleReach), -kTitleReach, false);
    static const BlurKernel downward = LineKernel(GaussianWeights(kTitleSigma, kTitleReach), -kTitleReach, true);
    return down ? downward : across;
}

const BlurKernel& QuarterTitleStroke(bool down)
{
    static const BlurKernel across =
        LineKernel(GaussianWeights(kQuarterTitleSigma, kQuarterTitleReach), -kQuarterTitleReach, false);
    static const BlurKernel downward =
        LineKernel(GaussianWeights(kQuarterTitleSigma, kQuarterTitleReach), -kQuarterTitleReach, true);
    return down ? downward : across;
}

AttachmentSize SizeOf(const Framebuffer& target)
{
    return target.Size(0);
}

// The part `part` of `source` as the full-screen programs take it.
glm::vec4 RegionOf(const Framebuffer& source, const ViewportRect& part)
{
    const AttachmentSize size = SizeOf(source);
    const float w = static_cast<float>(std::max(size.width, 1u));
    const float h = static_cast<float>(std::max(size.height, 1u));
    return {static_cast<float>(part.x) / w, static_cast<float>(part.y) / h, static_cast<float>(part.width) / w,
            static_cast<float>(part.height) / h};
}

// A "Blur" program made current with one kernel over the given part of its
// source; `taps` is how many the program reads.
void UseBlur(const ShaderProgram& blur, const BlurKernel& kernel, const glm::vec4& region,
             int taps = BlurKernel::kMaxTaps)
{
    blur.Use();
    blur.SetUniform(kSourceRegion, region.x, region.y, region.z, region.w);
    blur.SetUniform(kBlurTaps, kernel.taps.data(), std::min(taps, BlurKernel::kMaxTaps));
}

// One quad of `program` reading `source` on unit 0.
void DrawFrom(const ShaderProgram& program, const Framebuffer& source, const Model& quad)
{
    program.SetUniform(kSourceImage, 0);
    glActiveTexture(GL_TEXTURE0);
    source.BindTexture(0);
    quad.Draw();
}

} // namespace

void Renderer::BeginFullScreenPasses()
{
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
}

// The camera's own state again for the HUD, the text and whatever follows.
void Renderer::EndFullScreenPasses()
{
    glEnable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}

// Whether each texel of `part` of `source` holds anything, row by row from
// the bottom: read back, which for a quarter-size picture costs little.
std::vector<bool> Renderer::ReadLitTexels(const Framebuffer& source, const ViewportRect& part)
{
    constexpr int kChannels = 4;
    const std::size_t texels = static_cast<std::size_t>(part.width) * static_cast<std::size_t>(part.height);
    mHaloTexels.resize(texels * kChannels);
    source.Bind();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    ++mReadBacks;
    glReadPixels(part.x, part.y, part.width, part.height, GL_RGBA, GL_HALF_FLOAT, mHaloTexels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    std::vector<bool> lit(texels);
    for (std::size_t i = 0; i < texels; ++i) {
        const std::uint16_t* texel = &mHaloTexels[i * kChannels];
        // Any bit but the sign: a zero of either sign adds nothing, and
        // anything else (a number that is not one too) keeps the full work.
        lit[i] = ((texel[0] | texel[1] | texel[2]) & 0x7fffu) != 0;
    }
    return lit;
}

// One stroke of the halo from `source` into `target`, over the quarter-size
// picture that the viewport holds.
void Renderer::DrawStroke(const ShaderProgram& stroke, const Framebuffer& source, const Framebuffer& target)
{
    target.Bind();
    DrawFrom(stroke, source, *models.Find("Quad"));
}

// The spread worked out on the processor into the quarter-size picture of
// `target`, which the combine reads.
void Renderer::UploadSpread(const Framebuffer& target, const ViewportRect& quarter, const glm::vec2& squeeze)
{
    const std::vector<float>& spread =
        mHaloStrokes.Spread(mHaloTexels, quarter.width, quarter.height, HaloStroke(kHaloSigma * squeeze.x, false),
                            HaloStroke(kHaloSigma * squeeze.y, true));
    if (spread.empty())
        return;
    target.BindTexture(0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexSubImage2D(GL_TEXTURE_2D, 0, quarter.x, quarter.y, quarter.width, quarter.height, GL_RGB, GL_FLOAT,
                    spread.data());
}

// The glow spread into a wide soft halo at a quarter of the picture's size:
// the 4 x 4 mean of the glow into blur 2, a stroke across into blur 3, one
// down back into blur 2. Both targets are free until the blur chain, which
// comes after the bloom and covers or clears what it uses. A picture
// squeezed into a narrow or flat viewport gets a halo squeezed the same
// way. `coverage` is set to the parts of the picture the halo can reach
// (each stroke reaches kHaloReach texels): on a software rasteriser, near
// the texels of the mean that hold anything. Returns the part of blur 2
// that holds the halo, or nothing when it could not be made.
std::optional<glm::vec2> Renderer::SpreadGlow(const ViewportRect& picture, HaloCoverage& coverage)
{
    const ShaderProgram* blur = shaders.Find("Blur");
    const Model* quad = models.Find("Quad");
    if (!blur || !quad)
        return std::nullopt;
    static_assert(2 * kHaloReach + 1 == kShortBlurTaps, "the halo's strokes fill the short blur");
    const bool shortStrokes = mShortBlur && mShortBlur->Linked();
    const ShaderProgram& stroke = shortStrokes ? *mShortBlur : *blur;
    const int strokeTaps = shortStrokes ? kShortBlurTaps : BlurKernel::kMaxTaps;
    const Framebuffer& scene = Target(FramebufferSlot::Scene);
    const Framebuffer& first = Target(FramebufferSlot::Blur2);
    const Framebuffer& second = Target(FramebufferSlot::Blur3);
    const AttachmentSize full = SizeOf(scene);
    const AttachmentSize half = SizeOf(first);
    const ViewportRect quarter{0, 0, std::clamp(picture.width / 4, 1, static_cast<int>(std::max(half.width, 1u))),
                               std::clamp(picture.height / 4, 1, static_cast<int>(std::max(half.height, 1u)))};
    const glm::vec2 squeeze{static_cast<float>(picture.width) / static_cast<float>(std::max(full.width, 1u)),
                            static_cast<float>(picture.height) / static_cast<float>(std::max(full.height, 1u))};

    first.Bind();
    ApplyViewport(quarter);
    const ShaderProgram* shrink = blur;
    if (mQuarterShrink && mQuarterShrink->Linked()) {
        shrink = mQuarterShrink.get();
        shrink->Use();
        shrink->SetUniform(kSourceCorner, glm::ivec2(picture.x, picture.y));
        shrink->SetUniform(kTargetCorner, glm::ivec2(quarter.x, quarter.y));
    } else {
        UseBlur(*blur, Shrink4(), RegionOf(scene, picture));
    }
    shrink->SetUniform(kSourceImage, 0);
    glActiveTexture(GL_TEXTURE0);
    scene.BindTexture(1);
    quad->Draw();
    const glm::vec4 spread = RegionOf(first, quarter);

    // Reading the glow back waits until this camera's scene is drawn. On a
    // software rasteriser the combine it cuts gains more than the wait
    // costs, for a split screen's cameras too (each waits for its own
    // scene, which the shrink above waited for already), and the strokes
    // are summed from the texels read; a graphics card draws the halo whole.
    if (softwareRasteriser) {
        std::vector<bool> lit = ReadLitTexels(first, quarter);
        TakeUnmeasuredEdgesAsLit(lit, quarter.width, quarter.height, picture.width, picture.height, 4);
        const std::vector<bool> reached = Dilate(lit, quarter.width, quarter.height, kHaloReach);
        // Blocks of llvmpipe's own tile size, a few draws per row of them at
        // most.
        constexpr int kBlock = 64;
        const int rows = (picture.height + kBlock - 1) / kBlock;
        coverage = CoverHalo(reached, quarter.width, quarter.height, picture.width, picture.height, kBlock, 3 * rows);
        if (!coverage.withHalo.empty()) // else nothing glows: no stroke to sum
            UploadSpread(first, quarter, squeeze);
        return glm::vec2(spread.z, spread.w);
    }
    coverage = {{{0, 0, picture.width, picture.height}}, {}};
    UseBlur(stroke, HaloStroke(kHaloSigma * squeeze.x, false), RegionOf(first, quarter), strokeTaps);
    DrawStroke(stroke, first, second);
    UseBlur(stroke, HaloStroke(kHaloSigma * squeeze.y, true), RegionOf(second, quarter), strokeTaps);
    DrawStroke(stroke, second, first);
    return glm::vec2(spread.z, spread.w);
}

bool Renderer::BloomFinishes() const
{
    return softwareRasteriser && !postProcessing.EffectsOn() && mFinishingBloom && mFinishingBloom->Linked() &&
           mFinishingHaloFreeBloom && mFinishingHaloFreeBloom->Linked();
}

// The scene's three attachments combined into the camera's part of the
// target, which the quads cover whole: no clear. Where the spread reaches
// nothing the build without it draws.
void Renderer::DrawBloom(const ViewportRect& picture, const Framebuffer* target, const ViewportRect& drawn)
{
    const Framebuffer& scene = Target(FramebufferSlot::Scene);
    const bool finishing = target != &Target(FramebufferSlot::Bloom);
    const ShaderProgram* program = finishing ? mFinishingBloom.get() : shaders.Find("Bloom");
    const ShaderProgram* haloFree = finishing ? mFinishingHaloFreeBloom.get() : mHaloFreeBloom.get();
    HaloCoverage coverage;
    const std::optional<glm::vec2> spread = bloom && program ? SpreadGlow(picture, coverage) : std::nullopt;
    if (!spread || !haloFree || !haloFree->Linked())
        coverage = {{{0, 0, picture.width, picture.height}}, {}};
    Probe("halo");
    if (target)
        target->Bind();
    else
        scene.Unbind();
    ApplyViewport(drawn);
    if (!program)
        return;
    const glm::vec4 region = RegionOf(scene, picture);
    const bool cut = coverage.withHalo.size() + coverage.without.size() > 1;
    if (cut)
        glEnable(GL_SCISSOR_TEST);
    const auto draw = [&](const ShaderProgram& combine, const std::vector<ViewportRect>& parts, bool halo) {
        if (parts.empty())
            return;
        combine.Use();
        glActiveTexture(GL_TEXTURE0);
        scene.BindTexture(0);
        combine.SetUniform(kSourceImage, 0);
        combine.SetUniform(kBloomFlagLocation, halo);
        combine.SetUniform(kSourceRegion, region.x, region.y, region.z, region.w);
        if (finishing) {
            const glm::vec3& add = postProcessing.vector;
            combine.SetUniform(kFinishFade, postProcessing.float1);
            combine.SetUniform(kFinishAddColour, add.x, add.y, add.z);
        }
        if (halo && spread) {
            glActiveTexture(GL_TEXTURE0 + kBloomSpreadUnit);
            Target(FramebufferSlot::Blur2).BindTexture(0);
            combine.SetUniform(kBloomSpreadLocation, static_cast<int>(kBloomSpreadUnit));
            combine.SetUniform(kBloomSpreadRegionLocation, *spread);
        }
        for (const ViewportRect& part : parts) {
            if (cut)
                glScissor(drawn.x + part.x, drawn.y + part.y, part.width, part.height);
            scene.DrawToScreen(combine, 1);
        }
    };
    draw(*program, coverage.withHalo, spread.has_value());
    if (haloFree)
        draw(*haloFree, coverage.without, true);
    if (cut)
        glDisable(GL_SCISSOR_TEST);
}

// The camera's picture in the bloom result into whatever target and
// viewport are current. The inputs always reach "PostProcessing"; a frame
// with its three effects off draws with the build that leaves them out.
void Renderer::DrawPostProcessing(const ViewportRect& picture)
{
    const ShaderProgram* program = shaders.Find("PostProcessing");
    if (!program)
        return;
    const Framebuffer& source = Target(FramebufferSlot::Bloom);
    const glm::vec4 region = RegionOf(source, picture);
    const glm::vec3& v = postProcessing.vector;
    program->Use();
    program->SetUniform(kPostTime, time);
    program->SetUniform(kPostFlag1, postProcessing.flag1);
    program->SetUniform(kPostFlag2, postProcessing.flag2);
    program->SetUniform(kPostFlag3, postProcessing.flag3);
    program->SetUniform(kPostInteger, postProcessing.integer);
    program->SetUniform(kPostFloat1, postProcessing.float1);
    program->SetUniform(kPostFloat2, postProcessing.float2);
    program->SetUniform(kPostVector, v.x, v.y, v.z);
    program->SetUniform(kSourceRegion, region.x, region.y, region.z, region.w);
    if (!postProcessing.EffectsOn() && mPlainPostProcessing && mPlainPostProcessing->Linked()) {
        program = mPlainPostProcessing.get();
        program->Use();
        program->SetUniform(kPostFloat1, postProcessing.float1);
        program->SetUniform(kPostVector, v.x, v.y, v.z);
        program->SetUniform(kSourceRegion, region.x, region.y, region.z, region.w);
    }
    source.DrawToScreen(*program, 0);
}

// Post-processing result -> blur 1 (full size) -> blur 2..5 (half size) ->
// the camera's viewport of the window. The blur itself is one Gaussian at
// half size in a stroke across and a stroke down; the full-size passes and
// the last half-size one only copy. Each pass reads only the part of its
// source that the pass before drew, so a camera on part of the window
// keeps its picture whole and in its place, and what lies around that part
// (an older frame, another camera) never needs clearing.
void Renderer::DrawBlurChain(const Camera& camera, const ViewportRect& view)
{
    if (softwareRasteriser && DrawQuarterBlurChain(camera, view))
        return;
    enum class Kernel { Copy, Shrink, Across, Down };
    struct Pass {
        FramebufferSlot source;
        FramebufferSlot target; // Count: the window
        float scale;
        Kernel kernel;
    };
    constexpr FramebufferSlot kWindow = FramebufferSlot::Count;
    constexpr Pass kPasses[] = {
        {FramebufferSlot::PostProcessing, FramebufferSlot::Blur1, 1.0f, Kernel::Copy},
        {FramebufferSlot::Blur1, FramebufferSlot::Blur2, 0.5f, Kernel::Shrink},
        {FramebufferSlot::Blur2, FramebufferSlot::Blur3, 0.5f, Kernel::Across},
        {FramebufferSlot::Blur3, FramebufferSlot::Blur4, 0.5f, Kernel::Down},
        {FramebufferSlot::Blur4, FramebufferSlot::Blur5, 0.5f, Kernel::Copy},
        {FramebufferSlot::Blur5, kWindow, 1.0f, Kernel::Copy},
    };
    const ShaderProgram* blur = shaders.Find("Blur");
    const ShaderProgram* copy = shaders.Find("Framebuffer");
    ViewportRect drawn = view; // where the post-processing pass drew
    for (const Pass& pass : kPasses) {
        const Framebuffer& source = Target(pass.source);
        const glm::vec4 region = RegionOf(source, drawn);
        source.Unbind();
        const ViewportRect viewport = CameraWindowViewport(camera, pass.scale);
        if (pass.target != kWindow)
            Target(pass.target).Bind();
        ApplyViewport(viewport);
        drawn = viewport;
        const ShaderProgram* program = pass.kernel == Kernel::Copy ? copy : blur;
        // The 3 x 3 shrink fills the nine taps of the short build: the full
        // one would read eight more texels for nothing.
        const bool shortShrink = pass.kernel == Kernel::Shrink && blur && mShortBlur && mShortBlur->Linked();
        if (shortShrink)
            program = mShortBlur.get();
        if (!program)
            continue;
        switch (pass.kernel) {
        case Kernel::Copy:
            program->Use();
            program->SetUniform(kCopyColour, 1.0f, 1.0f, 1.0f, 1.0f);
            program->SetUniform(kSourceRegion, region.x, region.y, region.z, region.w);
            break;
        case Kernel::Shrink:
            UseBlur(*program, Shrink2(), region, shortShrink ? kShortBlurTaps : BlurKernel::kMaxTaps);
            break;
        case Kernel::Across:
        case Kernel::Down:
            UseBlur(*program, TitleStroke(pass.kernel == Kernel::Down), region);
            break;
        }
        source.DrawToScreen(*program, 0);
    }
}

// Post-processing result -> its 4 x 4 mean (blur 2) -> a stroke across
// (blur 3) -> a stroke down (blur 2) -> between those texels at half size
// (blur 5) -> the camera's viewport of the window. A software rasteriser
// pays for every texel a pass reads: the Gaussian at a quarter of the size
// reads a sixteenth of what it reads at half size, and on a picture this
// soft the interpolation back loses nothing a player sees. The quarter-size
// steps sit at the targets' corner, the last two where the camera's
// viewport puts them, each reading only what the step before drew.
bool Renderer::DrawQuarterBlurChain(const Camera& camera, const ViewportRect& view)
{
    const ShaderProgram* copy = shaders.Find("Framebuffer");
    const Model* quad = models.Find("Quad");
    const bool ready = copy && quad && mQuarterShrink && mQuarterShrink->Linked() && mShortBlur &&
                       mShortBlur->Linked() && mSpreadOnly && mSpreadOnly->Linked();
    if (!ready)
        return false;
    static_assert(2 * kQuarterTitleReach + 1 == kShortBlurTaps, "the quarter-size strokes fill the short blur");
    const Framebuffer& post = Target(FramebufferSlot::PostProcessing);
    const Framebuffer& first = Target(FramebufferSlot::Blur2);
    const Framebuffer& second = Target(FramebufferSlot::Blur3);
    const Framebuffer& half = Target(FramebufferSlot::Blur5);
    const AttachmentSize size = SizeOf(first);
    const ViewportRect quarter{0, 0, std::clamp(view.width / 4, 1, static_cast<int>(std::max(size.width, 1u))),
                               std::clamp(view.height / 4, 1, static_cast<int>(std::max(size.height, 1u)))};

    first.Bind();
    ApplyViewport(quarter);
    mQuarterShrink->Use();
    mQuarterShrink->SetUniform(kSourceCorner, glm::ivec2(view.x, view.y));
    mQuarterShrink->SetUniform(kTargetCorner, glm::ivec2(0));
    DrawFrom(*mQuarterShrink, post, *quad);

    for (bool down : {false, true}) {
        const Framebuffer& source = down ? second : first;
        (down ? first : second).Bind();
        UseBlur(*mShortBlur, QuarterTitleStroke(down), RegionOf(source, quarter), kShortBlurTaps);
        DrawFrom(*mShortBlur, source, *quad);
    }

    const ViewportRect halfView = CameraWindowViewport(camera, 0.5f);
    half.Bind();
    ApplyViewport(halfView);
    mSpreadOnly->Use();
    mSpreadOnly->SetUniform(kBloomSpreadLocation, 0);
    const glm::vec4 blurred = RegionOf(first, quarter);
    mSpreadOnly->SetUniform(kBloomSpreadRegionLocation, glm::vec2(blurred.z, blurred.w));
    glActiveTexture(GL_TEXTURE0);
    first.BindTexture(0);
    quad->Draw();

    const glm::vec4 region = RegionOf(half, halfView);
    half.Unbind();
    ApplyViewport(CameraWindowViewport(camera, 1.0f));
    copy->Use();
    copy->SetUniform(kCopyColour, 1.0f, 1.0f, 1.0f, 1.0f);
    copy->SetUniform(kSourceRegion, region.x, region.y, region.z, region.w);
    DrawFrom(*copy, half, *quad);
    return true;
}

} // namespace Engine
