#pragma once
#include "engine/logic/DispatchPredicator.h"
#include "engine/logic/Event.h"
#include "engine/logic/EventHandlerList.h"
#include "engine/logic/LogicComp.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace Engine {

// Identifies an event type: the address of an object reserved for it.
using EventTypeId = const void*;

template <class E>
EventTypeId EventTypeOf()
{
    static const char reserved = 0;
    return &reserved;
}

// Hands events of one type to the subscribed instances of class C.
template <class C>
class IEventDispatcher {
public:
    virtual ~IEventDispatcher() = default;
    // Every instance, in instance order; nothing for another event type.
    virtual void DispatchAll(IEvent* event) = 0;
    // The one instance, when it is subscribed.
    virtual void DispatchTo(IEvent* event, C* instance) = 0;
    // Each instance the predicate accepts.
    virtual void DispatchIf(IEvent* event, const DispatchPredicator* predicate) = 0;
    virtual EventTypeId GetEventType() const = 0;
    virtual void RemoveInstance(C* instance) = 0;
};

// The instances of C subscribed to E, sorted by address without duplicates
// (not owned: an instance leaves before it is deleted), and the handler
// given at C's first subscription to E.
//
// The walks read the array again after every call and go on after the
// address just served, so a handler that subscribes or unsubscribes
// instances never leaves a walk reading freed storage, and no instance is
// served twice: one subscribed meanwhile is served by the same walk when its
// address lies ahead.
template <class E, class C>
class EventDispatcher : public IEventDispatcher<C> {
public:
    using Handler = void (C::*)(E*);

    explicit EventDispatcher(Handler handler) : mHandler(handler) {}

    void DispatchAll(IEvent* event) override
    {
        E* typed = dynamic_cast<E*>(event);
        if (!typed)
            return;
        const Handler handler = mHandler;
        ForEachInstance([typed, handler](C* instance) { (instance->*handler)(typed); });
    }

    void DispatchTo(IEvent* event, C* instance) override
    {
        E* typed = dynamic_cast<E*>(event);
        if (!typed || !instance || !Holds(instance))
            return;
        (instance->*mHandler)(typed);
    }

    void DispatchIf(IEvent* event, const DispatchPredicator* predicate) override
    {
        E* typed = dynamic_cast<E*>(event);
        if (!typed || !predicate)
            return;
        const Handler handler = mHandler;
        ForEachInstance([typed, handler, predicate](C* instance) {
            if (predicate->Accepts(instance))
                (instance->*handler)(typed);
        });
    }

    EventTypeId GetEventType() const override { return EventTypeOf<E>(); }

    void AddInstance(C* instance)
    {
        const auto at = LowerBound(instance);
        if (at == mInstances.end() || *at != instance) {
            mInstances.insert(at, instance);
            ++mChanges;
        }
    }

    void RemoveInstance(C* instance) override
    {
        const auto at = LowerBound(instance);
        if (at != mInstances.end() && *at == instance) {
            mInstances.erase(at);
            ++mChanges;
        }
    }

    const std::vector<C*>& GetInstances() const { return mInstances; }

private:
    template <class Visit>
    void ForEachInstance(Visit visit)
    {
        for (std::size_t i = 0; i < mInstances.size();) {
            C* instance = mInstances[i];
            const std::uint64_t changes = mChanges;
            visit(instance);
            if (changes == mChanges) {
                ++i;
                continue;
            }
            // Only the address is compared: the instance may be gone by now.
            i = static_cast<std::size_t>(
                std::upper_bound(mInstances.begin(), mInstances.end(), instance, std::less<C*>()) - mInstances.begin());
        }
    }

    typename std::vector<C*>::iterator LowerBound(C* instance)
    {
        return std::lower_bound(mInstances.begin(), mInstances.end(), instance, std::less<C*>());
    }
    bool Holds(C* instance)
    {
        const auto at = LowerBound(instance);
        return at != mInstances.end() && *at == instance;
    }

    std::vector<C*> mInstances;
    Handler mHandler;
    // Counts inserts and erases, so a walk knows when to find its place again.
    std::uint64_t mChanges = 0;
};

class IInstanceTypeEventDispatcher {
public:
    virtual ~IInstanceTypeEventDispatcher() = default;
    virtual void Dispatch(IEvent* event) = 0;
};

// All of class C's dispatchers, one per event type in order of first
// subscription. Built on first use and kept for the whole run.
template <class C>
class InstanceTypeEventDispatcher : public IInstanceTypeEventDispatcher {
public:
    static InstanceTypeEventDispatcher& GetInstance()
    {
        static InstanceTypeEventDispatcher instance;
        return instance;
    }

    InstanceTypeEventDispatcher(const InstanceTypeEventDispatcher&) = delete;
    InstanceTypeEventDispatcher& operator=(const InstanceTypeEventDispatcher&) = delete;

    // Every dispatcher's DispatchAll, in order.
    void Dispatch(IEvent* event) override
    {
        for (std::size_t i = 0; i < mDispatchers.size(); ++i)
            mDispatchers[i]->DispatchAll(event);
    }

    // Each dispatcher's DispatchIf, in order.
    void DispatchIf(IEvent* event, const DispatchPredicator* predicate)
    {
        for (std::size_t i = 0; i < mDispatchers.size(); ++i)
            mDispatchers[i]->DispatchIf(event, predicate);
    }

    // Takes the instance out of every dispatcher of C; an instance that is
    // not subscribed, or null, changes nothing.
    void RemoveInstance(C* instance)
    {
        if (!instance)
            return;
        for (auto& dispatcher : mDispatchers)
            dispatcher->RemoveInstance(instance);
    }

    // E's dispatcher of C, or null before C's first subscription to E.
    template <class E>
    EventDispatcher<E, C>* Find()
    {
        for (auto& dispatcher : mDispatchers) {
            if (dispatcher->GetEventType() == EventTypeOf<E>())
                return static_cast<EventDispatcher<E, C>*>(dispatcher.get());
        }
        return nullptr;
    }

    template <class E>
    EventDispatcher<E, C>* Add(typename EventDispatcher<E, C>::Handler handler)
    {
        mDispatchers.push_back(std::make_unique<EventDispatcher<E, C>>(handler));
        return static_cast<EventDispatcher<E, C>*>(mDispatchers.back().get());
    }

    std::size_t Count() const { return mDispatchers.size(); }

private:
    InstanceTypeEventDispatcher() = default;

    std::vector<std::unique_ptr<IEventDispatcher<C>>> mDispatchers;
};

// C's entry in the event handler list: a targeted event reaches only the
// target entity's instances, an untargeted one every instance. It never
// marks the event handled.
template <class C>
void DispatchEntityEvent(EventEnvelope* envelope)
{
    auto& dispatchers = InstanceTypeEventDispatcher<C>::GetInstance();
    if (!envelope->target.IsNull()) {
        const LogicComp::DispatchPred predicate(envelope->target);
        dispatchers.DispatchIf(envelope->event, &predicate);
    } else {
        dispatchers.Dispatch(envelope->event);
    }
}

// Subscribes the instance to E. The handler counts only at C's first
// subscription to E; a null instance only makes sure the dispatcher exists.
// C's entry is listed again when the list was reset since.
template <class E, class C>
void Subscribe(C* instance, void (C::*handler)(E*))
{
    auto& dispatchers = InstanceTypeEventDispatcher<C>::GetInstance();
    EventDispatcher<E, C>* dispatcher = dispatchers.template Find<E>();
    if (!dispatcher)
        dispatcher = dispatchers.template Add<E>(handler);
    EventHandlerList::AddOnce(&DispatchEntityEvent<C>);
    if (instance)
        dispatcher->AddInstance(instance);
}

} // namespace Engine
