"""Collects what callbacks receive, from whatever thread calls them."""

import threading

# Generous: CI is a loaded two-core machine. Nothing waits this long unless
# something is broken.
WAIT_S = 60


class Recorder:
    """The arguments handed to add, in call order, and waits for them."""

    def __init__(self):
        self.items = []
        self.changed = threading.Condition()

    def add(self, item):
        with self.changed:
            self.items.append(item)
            self.changed.notify_all()

    def wait_for(self, count):
        """The items, once there are at least count of them."""
        return self.wait_until(lambda items: len(items) >= count)

    def wait_until(self, condition):
        """The items, once condition holds for them."""
        with self.changed:
            assert self.changed.wait_for(lambda: condition(self.items), timeout=WAIT_S), self.items
            return list(self.items)
