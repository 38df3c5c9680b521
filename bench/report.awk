#!/usr/bin/awk -f
# Medians of the host benchmark's figures ("VARIANT SIZE NAME VALUE" lines)
# and one line per figure with its ratio to its floor or to the smallest
# book's figure, for each variant. -v sizes="..." -v variants="...".
function median(key,    n, i, j, t, list) {
    n = split(values[key], list, " ")
    for (i = 2; i <= n; i++)
        for (j = i; j > 1 && list[j - 1] + 0 > list[j] + 0; j--) { t = list[j]; list[j] = list[j - 1]; list[j - 1] = t }
    if (n == 0) return 0
    return n % 2 ? list[(n + 1) / 2] : (list[n / 2] + list[n / 2 + 1]) / 2
}
function fig(v, s, name) { return median(v SUBSEP s SUBSEP name) }
function line(s, label, unit, target,    v, i, text, value, floor, ratio) {
    text = sprintf("%-11s %-30s", s, label)
    for (i = 1; i <= nv; i++) {
        v = vlist[i]
        value = fig(v, s, name1); floor = base(v, s)
        ratio = floor > 0 ? value / floor : 0
        if (mode == "memory") value /= 1048576
        text = text sprintf(" %s %10.2f %s (%6.2fx)", v, value, unit, ratio)
    }
    print text "  target " target
}
{ values[$1 SUBSEP $2 SUBSEP $3] = values[$1 SUBSEP $2 SUBSEP $3] " " $4 }
END {
    ns = split(sizes, slist, " ")
    nv = split(variants, vlist, " ")
    first = slist[1]
    print "Figures are medians; the ratio in brackets is to the floor named in the line."
    for (k = 1; k <= ns; k++) {
        s = slist[k]
        mode = "walk";    name1 = "start_ms";                        line(s, "BKC_OnStart / dir walk", "ms", "<= 1.5x")
        mode = "read";    name1 = "first_reply_ms";                  line(s, "first reply / read idx", "ms", "<= 2.5x")
        mode = "smallest"; name1 = "warm_reply_us_per_recipient";    line(s, "warm reply/rcpt / " first, "us", "<= 3x")
        mode = "smallest"; name1 = "template_reply_us_per_recipient"; line(s, "template/rcpt / " first, "us", "<= 3x")
        mode = "smallest"; name1 = "sender_view_us";                 line(s, "sender view / " first, "us", "<= 3x")
        mode = "changed"; name1 = "changed_reply_ms";                line(s, "changed reply / warm+1 file", "ms", "<= 3x")
        mode = "memory";  name1 = "memory_added_bytes";              line(s, "memory added / index bytes", "MB", "<= 3x")
    }
}
function base(v, s) {
    if (mode == "walk") return fig(v, s, "walk_floor_ms")
    if (mode == "read") return fig(v, s, "read_floor_ms")
    if (mode == "smallest") return fig(v, first, name1)
    if (mode == "changed") return fig(v, s, "warm_reply_ms") + fig(v, s, "one_file_read_ms")
    if (mode == "memory") return fig(v, s, "index_bytes")
    return 0
}
