#include "tools/art/Models.h"

#include <algorithm>

#include <glm/gtc/matrix_transform.hpp>

#include "tools/art/ColladaWriter.h"
#include "tools/art/Mesh.h"
#include "tools/art/ObjWriter.h"

namespace Art {
namespace {

using glm::vec3;

glm::mat4 Place(const vec3& at, const vec3& scale = vec3(1.0f))
{
    return glm::scale(glm::translate(glm::mat4(1.0f), at), scale);
}

// A rounded suit on two legs with arms at its sides, a helmet and a visor
// on its front (+z), standing from y = -1 to just under 1.
Mesh PlayerFigure()
{
    Mesh figure;
    const std::vector<glm::vec2> torso = { { 0.0f, -0.56f }, { 0.30f, -0.52f }, { 0.42f, -0.34f }, { 0.47f, -0.05f },
        { 0.50f, 0.22f }, { 0.44f, 0.38f }, { 0.26f, 0.49f }, { 0.0f, 0.52f } };
    figure.Append(MakeLathe(SmoothProfile(torso), 40));
    figure.Append(MakeTorus(0.465f, 0.05f, 40, 12), Place(vec3(0.0f, -0.16f, 0.0f)));
    figure.Append(MakeUvSphere(16, 32), Place(vec3(0.0f, 0.74f, 0.0f), vec3(0.24f)));
    figure.Append(MakeUvSphere(12, 24), Place(vec3(0.0f, 0.77f, 0.17f), vec3(0.21f, 0.1f, 0.13f)));
    for (float side : { -1.0f, 1.0f }) {
        figure.Append(MakeCapsule(0.13f, 0.14f, 20), Place(vec3(side * 0.2f, -0.73f, 0.0f)));
        const glm::mat4 arm = glm::rotate(Place(vec3(side * 0.6f, 0.02f, 0.0f)), side * 0.18f, vec3(0, 0, 1));
        figure.Append(MakeCapsule(0.1f, 0.24f, 16), arm);
    }
    return figure;
}

// A faceted core inside two crossed rings.
Mesh GoalBallCore()
{
    Mesh core;
    core.Append(MakeGeosphere(1, false), Place(vec3(0.0f), vec3(0.55f)));
    core.Append(MakeTorus(0.8f, 0.06f, 48, 12));
    core.Append(MakeTorus(0.8f, 0.06f, 48, 12), glm::rotate(glm::mat4(1.0f), glm::radians(90.0f), vec3(1, 0, 0)));
    return core;
}

// A ball that bounces once a second: the root joint at its bottom lifts it,
// the top joint squashes it on landing and stretches it in flight.
SkinnedModel BouncingBall()
{
    SkinnedModel model;
    model.name = "BallAnim";
    model.animationName = "Bounce";
    model.mesh = MakeUvSphere(16, 24);
    for (const MeshVertex& v : model.mesh.vertices) {
        const float top = std::clamp((v.position.y + 1.0f) * 0.5f, 0.0f, 1.0f);
        model.weights.push_back({ { 0, 1.0f - top }, { 1, top } });
    }
    model.keyTimes = { 0.0f, 0.25f, 0.5f, 0.75f, 1.0f };
    const float lift[] = { 0.0f, 0.7f, 1.0f, 0.7f, 0.0f };
    const vec3 stretch[] = { { 1.2f, 0.7f, 1.2f }, { 0.92f, 1.12f, 0.92f }, { 1.0f, 1.0f, 1.0f }, { 0.92f, 1.12f, 0.92f }, { 1.2f, 0.7f, 1.2f } };

    Joint root { "Root", -1, Place(vec3(0.0f, -1.0f, 0.0f)), {} };
    Joint top { "Top", 0, Place(vec3(0.0f, 1.0f, 0.0f)), {} };
    for (std::size_t k = 0; k < model.keyTimes.size(); ++k) {
        root.keys.push_back(Place(vec3(0.0f, -1.0f + lift[k], 0.0f)));
        top.keys.push_back(Place(vec3(0.0f, 1.0f, 0.0f), stretch[k]));
    }
    model.joints = { root, top };
    return model;
}

} // namespace

std::vector<ModelJob> ModelFiles()
{
    return {
        { "Default Shapes/Quad.obj", [] { return WriteObj(MakeQuad(), "Quad"); } },
        { "Default Shapes/Cube.obj", [] { return WriteObj(MakeCube(), "Cube"); } },
        { "Default Shapes/Sphere.obj", [] { return WriteObj(MakeUvSphere(24, 32), "Sphere"); } },
        { "Player2.obj", [] { return WriteObj(PlayerFigure(), "Player"); } },
        { "Ball.obj", [] { return WriteObj(MakeGeosphere(2, true), "Geosphere"); } },
        { "GoalBall_inside.obj", [] { return WriteObj(GoalBallCore(), "GoalBallInside"); } },
        { "GoalBall_shell.obj", [] { return WriteObj(MakeGeosphere(3, true), "GoalBallShell"); } },
        { "Ball anim.dae", [] { return WriteCollada(BouncingBall()); } },
    };
}

} // namespace Art
