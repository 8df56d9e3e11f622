"""Start-up of the real quillmere.scr while another start runs."""
from harness import *


def shown():
    return len(windows_titled(SAVER)) + len(windows_titled(DIALOG))


# Two started at once race for the claim: one lives on (a second saver would end the first by taking
# the activation; only the dialogs show a lost claim), and every later start ends at once.
def test_every_start_ends_at_once_while_the_saver_or_the_dialog_is_open_even_two_at_once():
    for marker, args in ((SAVER, ["/s"]), (DIALOG, ["/c"])):
        first = Run(args, ini=ini(Num=0))
        second = Run(args, folder=first.folder)
        find_window(marker)
        running = lambda: [first.proc.poll(), second.proc.poll()].count(None)
        wait_until(f"one {marker} to end", lambda: running() == 1, 10)
        for other in (["/s"], [], ["/c"], ["/p", "1234"], ["/a", "1"]):
            Run(other).wait_exit(10)
            assert shown() == 1, f"{other} opened a window beside {marker}"
        if marker == DIALOG:  # the host's own window would end the saver by taking the foreground
            ready = stand_in(152, 112).report()
            assert ready["child"] == "0", f"a preview window came into a pane beside {marker}"
        for run in (first, second):
            run.proc.kill()
        wait_until(f"{marker} to go", lambda: shown() == 0, 10)


# Two starts that both miss the other's window: the claim alone must end the later one.
def test_a_saver_or_dialog_start_ends_at_once_while_another_process_holds_the_claim():
    assert stand_in("claim").report()["claimed"] == "1"
    for args in (["/s"], ["/c"]):
        Run(args).wait_exit(10)
        assert shown() == 0, f"{args} opened a window while another process held the claim"
