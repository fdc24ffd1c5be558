"""Listens on the accessibility bus as a screen reader does and writes down, one per
line, what the programs announce: each notification as it is shown ("notification"
and its text). Usage: announcements.py OUTPUT_FILE; OUTPUT_FILE.ready appears once it
listens. Runs until it is stopped."""
import sys
import warnings

warnings.filterwarnings("ignore")
import pyatspi  # noqa: E402

output = open(sys.argv[1], "a", encoding="utf-8", buffering=1)


def heard(event):
    try:
        source = event.source
        if source.getRole() != pyatspi.ROLE_NOTIFICATION or not event.detail1:
            return
        output.write(f"notification\t{source.name}\n")
    except Exception:
        pass


# A screen reader listens for name changes too; programs send only the events that
# somebody listens for, and the name cached here is kept fresh by those.
pyatspi.Registry.registerEventListener(heard, "object:state-changed:showing", "object:property-change:accessible-name")
open(sys.argv[1] + ".ready", "w").close()
pyatspi.Registry.start()
