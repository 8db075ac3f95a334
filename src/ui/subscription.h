#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>

namespace tessalune::ui {

// A view's hold on a model's notifications: they stop when it is destroyed or reset, and
// it outlives the model safely (the model's end simply ends it).
class Subscription {
 public:
  Subscription() = default;
  explicit Subscription(std::function<void()> cancel) : cancel_(std::move(cancel)) {}
  Subscription(Subscription&& other) noexcept : cancel_(std::exchange(other.cancel_, nullptr)) {}
  Subscription& operator=(Subscription&& other) noexcept {
    if (this != &other) {
      reset();
      cancel_ = std::exchange(other.cancel_, nullptr);
    }
    return *this;
  }
  Subscription(const Subscription&) = delete;
  Subscription& operator=(const Subscription&) = delete;
  ~Subscription() { reset(); }

  void reset() {
    if (auto cancel = std::exchange(cancel_, nullptr)) cancel();
  }

 private:
  std::function<void()> cancel_;
};

// The subscribers of one model object, told in the order they subscribed.
template <typename... Args>
class Observers {
 public:
  Subscription add(std::function<void(Args...)> observer) {
    const std::uint64_t id = entries_->next++;
    entries_->list.emplace(id, std::move(observer));
    std::weak_ptr<Entries> weak = entries_;
    return Subscription([weak, id] {
      if (auto entries = weak.lock()) entries->list.erase(id);
    });
  }

  void notify(Args... args) {
    if (entries_->list.empty()) return;
    // An observer may end its own or another subscription, or all of them, while it is
    // told: it works on a copy and skips whoever left meanwhile.
    const auto snapshot = entries_->list;
    const std::weak_ptr<Entries> current = entries_;
    for (const auto& [id, observer] : snapshot) {
      const auto entries = current.lock();
      if (!entries || entries->cleared || !entries->list.contains(id)) continue;
      observer(args...);
    }
  }

  // Ends every subscription without telling anyone.
  void clear() {
    entries_->cleared = true;
    entries_ = std::make_shared<Entries>();
  }

 private:
  struct Entries {
    std::map<std::uint64_t, std::function<void(Args...)>> list;
    std::uint64_t next = 0;
    bool cleared = false;
  };
  std::shared_ptr<Entries> entries_ = std::make_shared<Entries>();
};

}  // namespace tessalune::ui
