#!/usr/bin/awk -f
# The benchmark's table from the host benchmark's figures ("VARIANT SIZE
# NAME VALUE" lines): medians over runs, each figure at a large book against
# its floor from the same processes or against its twin at the small book
# (the first size). -v sizes="..." -v variants="..." -v runs=N.
function median(key,    n, i, j, t, list) {
    n = split(values[key], list, " ")
    for (i = 2; i <= n; i++)
        for (j = i; j > 1 && list[j - 1] + 0 > list[j] + 0; j--) { t = list[j]; list[j] = list[j - 1]; list[j - 1] = t }
    if (n == 0) return 0
    return n % 2 ? list[(n + 1) / 2] : (list[n / 2] + list[n / 2 + 1]) / 2
}
function fig(v, s, name) { return median(v SUBSEP s SUBSEP name) }
function sum(v, s, name,    n, i, list, total) {
    n = split(values[v SUBSEP s SUBSEP name], list, " ")
    for (i = 1; i <= n; i++) total += list[i]
    return total
}
# One row: label, the figure and what it is held against (both in unit),
# what that is, and the goal for their ratio.
function row(label, value, against, what, unit, goal,    ratio, met) {
    ratio = against > 0 ? value / against : 0
    met = against > 0 && ratio <= goal ? "yes" : "NO"
    if (met == "NO") all_met = 0
    printf "%-34s %10.2f %-3s %10.2f %-3s %-34s %6.2f  <= %-4s %s\n", label, value, unit, against, unit, what, ratio, goal, met
}
{ values[$1 SUBSEP $2 SUBSEP $3] = values[$1 SUBSEP $2 SUBSEP $3] " " $4 }
END {
    ns = split(sizes, slist, " ")
    nv = split(variants, vlist, " ")
    small = slist[1]
    all_met = 1
    for (i = 1; i <= nv; i++) {
        v = vlist[i]
        for (k = 2; k <= ns; k++) {
            s = slist[k]
            if (nv > 1) print "== " v
            printf "Halyard under Wine: a reply to all with 100 recipients; book %s against %s; medians of %d runs\n", s, small, runs
            printf "%-34s %14s %14s %-34s %6s  %-7s %s\n", "figure", "measured", "against", "which is", "ratio", "goal", "met"
            row("warm reply", fig(v, s, "warm_reply_ms"), fig(v, small, "warm_reply_ms"),
                "the same at " small, "ms", 3)
            row("first reply after start", fig(v, s, "first_reply_ms"), fig(v, s, "read_floor_ms"),
                "one ReadFile of every Group.idx", "ms", 2.5)
            row("BKC_OnStart", fig(v, s, "start_ms"), fig(v, s, "walk_floor_ms"),
                "a bare FindFirstFile walk", "ms", 1.5)
            row("reply after one folder changed", fig(v, s, "changed_reply_ms"),
                fig(v, s, "warm_reply_ms") + fig(v, s, "one_file_read_ms"),
                "warm reply + read of that file", "ms", 3)
            row("memory held for the index", fig(v, s, "held_bytes") / 1048576, fig(v, s, "index_bytes") / 1048576,
                "bytes of all Group.idx", "MiB", 3)
            row("template reply (card look-ups)", fig(v, s, "template_reply_ms"),
                fig(v, small, "template_reply_ms"), "the same at " small, "ms", 3)
            row("sender view", fig(v, s, "sender_view_ms"), fig(v, small, "sender_view_ms"),
                "the same at " small, "ms", 3)
            row("send check shown (100 recipients)", fig(v, s, "send_check_ms"), 16,
                "one frame", "ms", 1)
            printf "Also: the process is busy until %.0f ms after BKC_OnStart returns (%.0f ms at %s; the idle\n", fig(v, s, "busy_after_start_ms"), fig(v, small, "busy_after_start_ms"), small
            printf "test takes 200 ms of it); replies meanwhile take %.2f ms (%.2f ms at %s). Changes seen: %d of %d.\n", fig(v, s, "busy_reply_ms"), fig(v, small, "busy_reply_ms"), small, sum(v, s, "changes_seen"), sum(v, s, "changes_made")
            if (sum(v, s, "changes_seen") < sum(v, s, "changes_made")) all_met = 0
            for (k2 = 1; k2 <= ns; k2++) {
                if (sum(v, slist[k2], "answers_wrong") == 0) continue
                printf "The plug-in answered WRONG in %d runs at %s (a name, the sender view, a change or the send check).\n", sum(v, slist[k2], "answers_wrong"), slist[k2]
                all_met = 0
            }
        }
    }
    print all_met ? "every goal met" : "goals NOT met: see the rows marked NO"
}
