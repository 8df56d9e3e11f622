"""Start-up of the real quillmere.scr: the guard that ends
every start while a saver or a settings dialog is open, also when two start at once."""
from harness import *


def shown():
    return len(windows_titled(SAVER)) + len(windows_titled(DIALOG))


def test_every_start_ends_at_once_while_the_saver_or_the_dialog_is_open():
    for marker, args in ((SAVER, ["/s"]), (DIALOG, ["/c"])):
        holder = Run(args, ini=ini(Num=0))
        find_window(marker)
        for other in (["/s"], [], ["/c"], ["/p", "1234"], ["/a", "1"]):
            Run(other).wait_exit(10)
            assert shown() == 1, f"{other} opened a window beside {marker}"
        if marker == DIALOG:  # the host's own window would end the saver by taking the foreground
            host = stand_in(152, 112)
            ready = wait_until("the stand-in", lambda: host_report(host, "ready.txt"), 20)
            assert ready["child"] == "0", f"a preview window came into a pane beside {marker}"
        holder.proc.kill()
        wait_until(f"{marker} to go", lambda: shown() == 0, 10)


def test_of_two_savers_or_dialogs_started_at_once_one_lives_on():
    # A second saver would end the first by taking the activation; only the dialogs show a lost claim.
    for args, title in ((["/s"], SAVER), (["/c"], DIALOG)):
        first = Run(args, ini=ini(Num=0))
        second = Run(args, folder=first.folder)
        find_window(title)
        wait_until(
            f"one {title} to end",
            lambda: [first.proc.poll(), second.proc.poll()].count(None) == 1,
            10,
        )
        assert len(windows_titled(title)) == 1, f"not exactly one {title} lives on"
        for run in (first, second):
            run.proc.kill()
        wait_until(f"{title} to go", lambda: shown() == 0, 10)
