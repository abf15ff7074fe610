#include "engine/core/EntityManager.h"
#include "engine/core/Transform.h"
#include "engine/core/Transform3D.h"
#include "engine/core/TransformCompManager.h"
#include "support/FileText.h"
#include "support/TempDir.h"

#include <algorithm>
#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>
#include <random>
#include <vector>

namespace {

using Engine::EntityHandle;
using Engine::TransformCompManager;
namespace Transform = Engine::Transform;

TransformCompManager& Manager() { return TransformCompManager::GetInstance(); }

EntityHandle NewEntity()
{
    const EntityHandle entity = Engine::EntityMgr::GetInstance().CreateEntity();
    Manager().AddComponent(entity);
    return entity;
}

// The entity's local values, read without marking anything.
Engine::Transform3D LocalOf(EntityHandle entity)
{
    const auto& e = Manager().GetEntries();
    const std::uint32_t i = Manager().GetDataIndex(entity);
    return Engine::Transform3D{e.positions.at(i), e.scales.at(i), e.forwards.at(i), e.ups.at(i)};
}

// Element by element, for vectors and matrices alike.
template <class Value>
void ExpectNear(const Value& actual, const Value& expected, float tolerance = 1e-4f)
{
    for (std::size_t i = 0; i < sizeof(Value) / sizeof(float); ++i)
        EXPECT_NEAR(glm::value_ptr(actual)[i], glm::value_ptr(expected)[i], tolerance) << "element " << i;
}

glm::vec3 CachedWorldPosition(EntityHandle entity) { return glm::vec3(Transform::GetWorldMatrix(entity)[3]); }

// The manager's arrays agree with each other: every owner maps back to its
// entry (through the map and through the lookup), and every dirty entry's
// children are dirty too.
void ExpectConsistentEntries()
{
    const TransformCompManager& manager = Manager();
    const auto& e = manager.GetEntries();
    const std::uint32_t count = static_cast<std::uint32_t>(manager.Count());
    const std::uint32_t firstDirty = count - manager.GetDirtyCount();
    ASSERT_EQ(e.owners.size(), count);
    ASSERT_EQ(e.indexOf.size(), count);
    ASSERT_LE(manager.GetDirtyCount(), count);
    for (std::uint32_t i = 0; i < count; ++i) {
        ASSERT_EQ(e.indexOf.at(e.owners[i]), i);
        ASSERT_EQ(manager.GetDataIndex(e.owners[i]), i);
        for (const EntityHandle& child : Transform::GetChildren(e.owners[i]))
            EXPECT_TRUE(i < firstDirty || manager.GetDataIndex(child) >= firstDirty) << "clean child of a dirty entry";
    }
}

// What the hierarchy should be, kept by the test independently of the manager.
struct Model {
    std::map<std::uint32_t, Engine::Transform3D> locals;
    std::map<std::uint32_t, std::uint32_t> parents; // 0 for a root
    std::map<std::uint32_t, std::vector<std::uint32_t>> children;

    void Add(std::uint32_t e)
    {
        locals[e] = Engine::Transform3D{glm::vec3(0.0f), glm::vec3(1.0f), glm::vec3(0, 0, 1), glm::vec3(0, 1, 0)};
        parents[e] = 0;
        children[e];
    }
    bool Below(std::uint32_t ancestor, std::uint32_t e) const
    {
        for (std::uint32_t p = parents.at(e); p != 0; p = parents.at(p))
            if (p == ancestor)
                return true;
        return false;
    }
    void Unlink(std::uint32_t e)
    {
        if (parents[e] == 0)
            return;
        auto& list = children[parents[e]];
        list.erase(std::find(list.begin(), list.end(), e));
        parents[e] = 0;
    }
    void SetParent(std::uint32_t child, std::uint32_t parent)
    {
        if (child == parent || Below(child, parent) || parents[child] == parent)
            return;
        Unlink(child);
        parents[child] = parent;
        children[parent].push_back(child);
    }
    void Remove(std::uint32_t e)
    {
        Unlink(e);
        for (std::uint32_t child : children[e])
            parents[child] = 0;
        children.erase(e);
        parents.erase(e);
        locals.erase(e);
    }
    glm::mat4 World(std::uint32_t e) const
    {
        const glm::mat4 local = locals.at(e).GetModelMatrix();
        return parents.at(e) == 0 ? local : World(parents.at(e)) * local;
    }
};

void ExpectMatchesModel(const Model& model)
{
    ASSERT_EQ(Manager().Count(), model.locals.size());
    for (const auto& [index, local] : model.locals) {
        const EntityHandle entity(index);
        EXPECT_EQ(Transform::GetParent(entity).GetIndex(), model.parents.at(index));
        std::vector<std::uint32_t> children;
        for (const EntityHandle& child : Transform::GetChildren(entity))
            children.push_back(child.GetIndex());
        EXPECT_EQ(children, model.children.at(index));
        ExpectNear(Transform::GetWorldMatrix(entity), model.World(index));
    }
}

// A three-level tree of rotated, scaled and moved entities: root, child, grandchild.
struct Chain {
    EntityHandle root = NewEntity();
    EntityHandle child = NewEntity();
    EntityHandle grandchild = NewEntity();

    Chain()
    {
        Transform::SetParent(child, root);
        Transform::SetParent(grandchild, child);
        Transform::PositionRef(root) = glm::vec3(3, -2, 5);
        Transform::ScaleRef(root) = glm::vec3(2, 0.5f, 3);
        Transform::Rotate(root, 0.7f, glm::vec3(1, 1, 0));
        Transform::PositionRef(child) = glm::vec3(1, 4, -1);
        Transform::ScaleRef(child) = glm::vec3(1.5f, 1.5f, 0.25f);
        Transform::Rotate(child, -1.2f, glm::vec3(0, 0, 1));
        Transform::PositionRef(grandchild) = glm::vec3(-2, 0.5f, 7);
    }
};

TEST(TransformHierarchy, WorldIsParentTimesLocalBeforeAndAfterUpdate)
{
    Chain chain;
    const glm::mat4 walked = Transform::GetWorldMatrix(chain.grandchild); // dirty: walked up, not cached
    Manager().Update();
    EXPECT_EQ(Manager().GetDirtyCount(), 0u);
    const glm::mat4 childWorld = LocalOf(chain.root).GetModelMatrix() * LocalOf(chain.child).GetModelMatrix();
    ExpectNear(Transform::GetWorldMatrix(chain.child), childWorld);
    const glm::mat4 local = LocalOf(chain.grandchild).GetModelMatrix();
    ExpectNear(Transform::GetWorldMatrix(chain.grandchild), childWorld * local);
    ExpectNear(walked, childWorld * local);
    // Between updates a clean entry answers with the stored matrix itself.
    for (const EntityHandle& entity : {chain.root, chain.child, chain.grandchild})
        EXPECT_EQ(Transform::GetWorldMatrix(entity), Manager().GetEntries().worldMatrices[Manager().GetDataIndex(entity)]);

    // Moving the clean root dirties the whole tree, and the grandchild's
    // world matrix follows before the next Update.
    Transform::PositionRef(chain.root) += glm::vec3(10, 0, 0);
    EXPECT_EQ(Manager().GetDirtyCount(), 3u);
    const glm::mat4 moved = glm::translate(glm::mat4(1.0f), glm::vec3(10, 0, 0));
    ExpectNear(Transform::GetWorldMatrix(chain.grandchild), moved * childWorld * local, 1e-3f);
    ExpectConsistentEntries();
}

TEST(TransformHierarchy, SetWorldPositionRoundTripsUnlessTheParentIsFlat)
{
    Chain chain;
    const glm::vec3 target(4.5f, -3.25f, 12.0f);
    Transform::SetWorldPosition(chain.grandchild, target);
    ExpectNear(Engine::MakeTransform3D(chain.grandchild).pos, target, 1e-3f);
    Manager().Update();
    ExpectNear(CachedWorldPosition(chain.grandchild), target, 1e-3f);

    // A zero scale cannot be inverted: the position stays rather than turn NaN.
    Transform::ScaleRef(chain.root) = glm::vec3(0.0f);
    const glm::vec3 before = LocalOf(chain.child).pos;
    Transform::SetWorldPosition(chain.child, glm::vec3(1, 2, 3));
    ExpectNear(LocalOf(chain.child).pos, before);
}

TEST(TransformHierarchy, RemovedParentLeavesItsChildrenAsRoots)
{
    Chain chain;
    const EntityHandle sibling = NewEntity();
    Transform::SetParent(sibling, chain.child);
    Manager().Update();
    Manager().RemoveComponent(chain.child);
    EXPECT_TRUE(Transform::GetChildren(chain.root).empty());
    Manager().Update();
    for (const EntityHandle& orphan : {chain.grandchild, sibling}) {
        EXPECT_TRUE(Transform::GetParent(orphan).IsNull());
        ExpectNear(Transform::GetWorldMatrix(orphan), LocalOf(orphan).GetModelMatrix());
    }
    // Former siblings no longer point at each other.
    Transform::SetParent(sibling, chain.root);
    EXPECT_EQ(Transform::GetChildren(chain.root), std::vector<EntityHandle>{sibling});
    ExpectConsistentEntries();
}

// The lookup by entity follows the entries through a clear, a scene set
// aside and brought back, and a load.
TEST(TransformHierarchy, LookupsFollowClearSwapAndLoad)
{
    Chain chain;
    Transform::PositionRef(chain.grandchild) = glm::vec3(1.0f, 2.0f, 3.0f);
    Manager().Update();
    nlohmann::json scene;
    Manager().Save(scene);
    const glm::vec3 world = Transform::GetWorldPosition(chain.grandchild);

    Manager().SwapWithAside();
    EXPECT_EQ(Manager().GetDataIndex(chain.child), TransformCompManager::kNoIndex);
    Manager().SwapWithAside();
    ExpectConsistentEntries();
    EXPECT_EQ(Transform::GetWorldPosition(chain.grandchild), world);

    Manager().Clear();
    for (const EntityHandle& entity : {chain.root, chain.child, chain.grandchild})
        EXPECT_EQ(Manager().GetDataIndex(entity), TransformCompManager::kNoIndex);
    Manager().Load(scene);
    ExpectConsistentEntries();
    Manager().Update();
    EXPECT_EQ(Transform::GetWorldPosition(chain.grandchild), world);
}

TEST(TransformHierarchy, RemovingACleanEntryKeepsTheDirtyTail)
{
    std::vector<EntityHandle> entities;
    for (int i = 0; i < 8; ++i)
        entities.push_back(NewEntity());
    Manager().Update();
    Transform::PositionRef(entities[2]) = glm::vec3(1, 2, 3);
    Transform::PositionRef(entities[6]) = glm::vec3(4, 5, 6);
    Manager().RemoveComponent(entities[0]); // clean
    const std::uint32_t firstDirty = static_cast<std::uint32_t>(Manager().Count()) - 2;
    EXPECT_EQ(Manager().GetDirtyCount(), 2u);
    EXPECT_GE(Manager().GetDataIndex(entities[2]), firstDirty);
    EXPECT_GE(Manager().GetDataIndex(entities[6]), firstDirty);
    ExpectConsistentEntries();
    Manager().RemoveComponent(entities[6]); // dirty
    EXPECT_EQ(Manager().GetDirtyCount(), 1u);
    EXPECT_EQ(Manager().GetDataIndex(entities[2]), Manager().Count() - 1);
    Manager().Update();
    ExpectNear(CachedWorldPosition(entities[2]), glm::vec3(1, 2, 3));
}

TEST(TransformHierarchy, LinkingUnderOwnDescendantIsRefusedWithAWarning)
{
    ScopedTempDir dir;
    Chain chain;
    Transform::SetParent(chain.root, chain.grandchild);
    Transform::SetParent(chain.root, chain.root);
    EXPECT_TRUE(Transform::GetParent(chain.root).IsNull());
    EXPECT_EQ(Transform::GetParent(chain.grandchild), chain.child);
    EXPECT_EQ(ReadFileText("log.txt"),
              "[WARNING] \t\tAttempted to link a parent to its own child without detaching child first.\n");
}

TEST(TransformHierarchy, CopyingOneEntrysValueIntoAnotherReadsTheRightEntry)
{
    Chain chain;
    const EntityHandle other = NewEntity();
    Transform::PositionRef(other) = glm::vec3(9, 8, 7);
    Transform::ScaleRef(other) = glm::vec3(2, 3, 4);
    Manager().Update();
    // Both entries are clean: marking either moves entries.
    Transform::PositionRef(chain.child) = Transform::PositionRef(other);
    Manager().Update();
    Transform::PositionRef(other) = Transform::PositionRef(chain.root);
    Manager().Update();
    Transform::SetWorldPosition(chain.grandchild, Transform::PositionRef(other));
    Manager().Update();
    Transform::ScaleRef(chain.root) = Transform::ScaleRef(other);
    ExpectNear(Engine::MakeTransform3D(other).pos, glm::vec3(3, -2, 5));
    ExpectNear(Transform::GetWorldPosition(chain.grandchild), glm::vec3(3, -2, 5), 1e-3f);
    ExpectNear(*Transform::ScalePtr(chain.root), glm::vec3(2, 3, 4));
    EXPECT_EQ(Transform::GetParent(chain.child), chain.root);
}

TEST(TransformHierarchy, EntityWithoutTransformReadsDefaultsAndIgnoresWrites)
{
    const EntityHandle bare = Engine::EntityMgr::GetInstance().CreateEntity();
    const EntityHandle other = NewEntity();
    EXPECT_EQ(Manager().AddComponent(EntityHandle()), EntityHandle());
    Transform::PositionRef(bare) = glm::vec3(5, 5, 5);
    Transform::SetWorldPosition(bare, glm::vec3(1, 1, 1));
    Transform::Rotate(bare, 1.0f, glm::vec3(0, 1, 0));
    Transform::SetParent(bare, other);
    Transform::SetParent(other, bare);
    Transform::Detach(bare);
    Manager().RemoveComponent(bare);
    EXPECT_EQ(Manager().GetCompHandle(bare), EntityHandle());
    EXPECT_EQ(Manager().Count(), 1u);
    ExpectNear(Transform::GetWorldMatrix(bare), glm::mat4(1.0f));
    ExpectNear(Transform::PositionRef(bare), glm::vec3(0.0f));
    ExpectNear(*Transform::UpPtr(bare), glm::vec3(0, 1, 0));
    EXPECT_TRUE(Transform::GetChildren(other).empty());
    EXPECT_TRUE(Transform::GetParent(other).IsNull());
}

TEST(TransformHierarchy, RotateTurnsForwardAndUpAboutTheAxis)
{
    const EntityHandle entity = NewEntity();
    // Right is forward x up: the opposite of the model matrix's first column.
    ExpectNear(Transform::GetRight(entity), glm::vec3(-1, 0, 0));
    Transform::Rotate(entity, glm::half_pi<float>(), glm::vec3(0, 5, 0)); // axis normalised
    Transform::Rotate(entity, 1.0f, glm::vec3(0.0f));                     // no axis, no turn
    ExpectNear(*Transform::ForwardPtr(entity), glm::vec3(1, 0, 0));
    ExpectNear(*Transform::UpPtr(entity), glm::vec3(0, 1, 0));
    ExpectNear(Transform::GetRight(entity), glm::vec3(0, 0, 1));
}

// Random edits, each checked against the test's own model of the hierarchy.
TEST(TransformHierarchy, RandomEditsAgreeWithAModelOfTheHierarchy)
{
    std::mt19937 random(12345);
    const auto pick = [&random](int below) { return static_cast<int>(random() % static_cast<unsigned>(below)); };
    Model model;
    std::vector<EntityHandle> live;
    const auto any = [&] { return live[static_cast<std::size_t>(pick(static_cast<int>(live.size())))]; };
    const auto small = [&](float base) { return glm::vec3(base + pick(4), base + pick(4), base + pick(4)); };
    for (int step = 0; step < 1500; ++step) {
        const int action = live.size() < 3 ? 0 : pick(8);
        const EntityHandle entity = live.empty() ? EntityHandle() : any();
        if (action == 0 && live.size() < 60) {
            live.push_back(NewEntity());
            model.Add(live.back().GetIndex());
        } else if (action == 1) {
            Manager().RemoveComponent(entity);
            model.Remove(entity.GetIndex());
            live.erase(std::find(live.begin(), live.end(), entity));
        } else if (action == 2 || action == 3) {
            const EntityHandle parent = any();
            Transform::SetParent(entity, parent);
            model.SetParent(entity.GetIndex(), parent.GetIndex());
        } else if (action == 4) {
            Transform::Detach(entity);
            model.Unlink(entity.GetIndex());
        } else if (action == 5) {
            model.locals[entity.GetIndex()].pos = Transform::PositionRef(entity) = small(-2.0f) * 3.0f;
        } else if (action == 6) {
            model.locals[entity.GetIndex()].scale = Transform::ScaleRef(entity) = small(0.5f);
        } else {
            Manager().Update();
            EXPECT_EQ(Manager().GetDirtyCount(), 0u);
        }
        ExpectConsistentEntries();
        if (step % 25 == 0)
            ExpectMatchesModel(model);
        if (HasFailure())
            FAIL() << "after step " << step;
    }
    Manager().Update();
    ExpectMatchesModel(model);
}

} // namespace
