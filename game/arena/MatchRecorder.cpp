#include "game/arena/MatchRecorder.h"

#include "engine/core/EntityNameCompManager.h"
#include "engine/net/NamedEntities.h"
#include "engine/net/NetworkMgr.h"
#include "engine/render/Renderer.h"
#include "game/arena/HexGrid.h"
#include "game/arena/HookCheck.h"
#include "game/arena/RecordingFile.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <limits>

namespace {

// Float to int, truncated toward zero and held inside the int range.
std::int32_t SaturatingInt(double value)
{
    constexpr double kLow = std::numeric_limits<std::int32_t>::min();
    constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
    if (!(value > kLow))
        return std::numeric_limits<std::int32_t>::min();
    if (value >= kHigh)
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

std::size_t CountNamed(const char* name)
{
    return Engine::EntityNameCompManager::GetInstance().FindEntitiesByName(name).size();
}

} // namespace

MatchRecorder& MatchRecorder::GetInstance()
{
    static MatchRecorder recorder;
    return recorder;
}

MatchRecorder::MatchRecorder() : killCamera(*this) { Reset(); }

void MatchRecorder::Reset() { live = MatchFrame(HexGrid::GetInstance().tiles.size()); }

void MatchRecorder::ClearFrameList(FrameList& frames) { frames.clear(); }

void MatchRecorder::GoLive()
{
    ClearFrameList(playback);
    ClearFrameList(ring);
    bestScore = 0;
    isLive = 1;
    isTutorial = 0;
    Reset();
}

void MatchRecorder::ResetToNew()
{
    *this = MatchRecorder();
    // The new recorder's camera looked at that recorder.
    killCamera = KillCamera(*this);
}

MatchFrame* MatchRecorder::PlaybackFront() { return playback.empty() ? nullptr : playback.front().get(); }

void MatchRecorder::AddMomentPoints(int playerNumber, Moment moment)
{
    if (!IsCapturing() || playerNumber < 1 || moment >= kMomentCount)
        return;
    float& points = (playerNumber - 1) % 2 == 0 ? live.points0 : live.points1;
    points += static_cast<float>(momentPoints[moment]);
}

std::int32_t MatchRecorder::FrameWeight(std::int32_t value, std::uint32_t index) const
{
    if (value == 0)
        return 0;
    const auto n = static_cast<float>(capacity);
    const auto product = static_cast<float>(static_cast<std::uint64_t>(capacity) * index);
    const auto square = static_cast<float>(static_cast<double>(index) * static_cast<double>(index));
    const float weight = (product - square) / n + n / 12.0f;
    return SaturatingInt(weight * static_cast<float>(value) / 100.0f);
}

void MatchRecorder::Update()
{
    killCamera.Update();
    if (isLive)
        RecordLiveFrame();
    else
        PlayFrontFrame();
}

void MatchRecorder::RecordLiveFrame()
{
    Engine::Renderer::GetInstance().postProcessing.flag1 = false;
    while (!ring.empty() && ring.size() >= capacity)
        ring.pop_front();
    ring.push_back(std::make_shared<MatchFrame>(std::move(live)));

    std::array<std::int64_t, MatchFrame::kPlayers> sums{};
    std::uint32_t index = 0;
    for (const FramePtr& frame : ring) {
        sums[0] += FrameWeight(SaturatingInt(frame->points0), index);
        sums[1] += FrameWeight(SaturatingInt(frame->points1), index);
        ++index;
    }
    MatchFrame& newest = *ring.back();
    const bool networked = NetworkMgr::GetInstance().connected != 0;
    for (std::size_t p = 0; p < MatchFrame::kPlayers; ++p) {
        const std::int32_t sum = SaturatingInt(static_cast<double>(sums[p]));
        // A tie with the best keeps the earlier moment. A quiet match keeps
        // replaying its last 500 frames behind player 1: player 2 may not
        // exist, and its camera would look from nowhere.
        const bool quiet = sum == 0 && bestScore == 0 && p == 0;
        if (sum > bestScore || quiet) {
            bestScore = sum;
            focusPlayer = networked ? 0 : static_cast<std::int32_t>(p);
            playback = ring;
        }
        newest.cams[p] = {newest.players[p].camp, newest.players[p].camt};
    }
    Reset();
}

void MatchRecorder::PlayFrontFrame()
{
    NetworkMgr::GetInstance().flow_flags[NetworkMgr::kFreezeTraffic] = 1;
    Engine::PostProcessingInputs& look = Engine::Renderer::GetInstance().postProcessing;
    look.flag1 = look.flag2 = look.flag3 = !isTutorial;
    if (!playback.empty()) {
        const MatchFrame& front = *playback.front();
        if (front.goalBall.active && IsHookSet(mHooks.spawnGoalBall, "MatchRecorder::ReplayHooks::spawnGoalBall"))
            mHooks.spawnGoalBall();
        SpawnMissingPerkObjects(front);
        playback.pop_front();
    }
    if (playback.empty()) {
        isLive = 1;
        ClearFrameList(ring);
        if (IsHookSet(mHooks.playbackFinished, "MatchRecorder::ReplayHooks::playbackFinished"))
            mHooks.playbackFinished();
    }
    bestScore = 0;
}

// The components of stun areas and force fields place themselves from the
// frame; the recorder only sees that there are enough of them.
void MatchRecorder::SpawnMissingPerkObjects(const MatchFrame& frame)
{
    // A hook is asked for only when the frame is short of its objects.
    const std::size_t stunAreas = CountNamed("StunTile");
    if (stunAreas < frame.stunAreas.size() &&
        IsHookSet(mHooks.spawnStunArea, "MatchRecorder::ReplayHooks::spawnStunArea")) {
        const Engine::EntityHandle owner = Net::Names::First(Net::Names::kLocalPlayer);
        for (std::size_t n = stunAreas; n < frame.stunAreas.size(); ++n)
            mHooks.spawnStunArea(owner, kOutOfSight);
    }
    const std::size_t forcefields = CountNamed("FFTile");
    if (forcefields < frame.forceFields.size() &&
        IsHookSet(mHooks.spawnForcefield, "MatchRecorder::ReplayHooks::spawnForcefield")) {
        for (std::size_t n = forcefields; n < frame.forceFields.size(); ++n)
            mHooks.spawnForcefield(kOutOfSight);
    }
}

bool MatchRecorder::LoadRecording(const std::string& path)
{
    ClearFrameList(playback);
    ClearFrameList(ring);
    Reset();
    isTutorial = 1;
    std::string problem;
    std::optional<RecordingFile::Recording> recording =
        RecordingFile::Read(path, HexGrid::GetInstance().tiles.size(), problem);
    // A recording with nothing in it would end the tutorial as it starts,
    // with no word of why.
    if (recording && recording->frames.empty())
        problem = "the file holds no frames";
    if (!recording || recording->frames.empty()) {
        std::cerr << "[MatchRecorder] Recording \"" << path << "\" refused: " << problem << "\n";
        return false;
    }
    for (MatchFrame& frame : recording->frames)
        playback.push_back(std::make_shared<MatchFrame>(std::move(frame)));
    // A file without a winner is followed from player 1's side, as a quiet
    // match is: the focus of the match played before it would look through a
    // camera that a one-player tutorial does not have.
    focusPlayer = recording->winner.value_or(0);
    return true;
}

bool MatchRecorder::WriteRecording(const std::string& path, const FrameList& frames) const
{
    std::vector<const MatchFrame*> list;
    for (const FramePtr& frame : frames)
        list.push_back(frame.get());
    std::string problem;
    if (RecordingFile::Write(path, list, focusPlayer, problem))
        return true;
    std::cerr << "[MatchRecorder] Recording \"" << path << "\" not written: " << problem << "\n";
    return false;
}
