#!/usr/bin/env python3
"""Writes the 35 campaign levels Dunmark-level-01.mtc .. 35.mtc.

The levels are laid out on a 13 x 13 grid of 2 x 2-cell blocks (a tank's
footprint) so that walls and lakes read as shapes rather than noise. Each
level has its own fixed seed, so running this again rewrites the same files;
the output is committed and checked by ironmoat-mapcheck.

Difficulty grows with the number: more metal and water, barrier rows with
fewer gaps (longer routes), and less extra wall around the base.
"""
import os
import random
import sys

SIZE = 26
BLOCKS = 13
BASE = (12, 24)
PLAYERS = [(8, 24), (16, 24)]
RING = [(11, 23), (12, 23), (13, 23), (14, 23), (11, 24), (11, 25), (14, 24), (14, 25)]
OPEN = set(" 012bfs")  # what a tank can drive through, or shoot its way through


def enemy_spawns(n):
    if n % 5 == 2:
        return [(0, 0), (24, 0)]
    if n % 5 == 4:
        return [(4, 0), (20, 0)]
    if n % 7 == 3:
        return [(2, 0), (12, 0), (22, 0)]
    return [(0, 0), (12, 0), (24, 0)]


def reserved_blocks(n):
    """Blocks kept free of generated terrain: markers and the base corner."""
    res = set()
    for (x, y) in enemy_spawns(n) + PLAYERS + [BASE]:
        for dx in (0, 1):
            for dy in (0, 1):
                res.add(((x + dx) // 2, (y + dy) // 2))
    for (x, y) in RING:
        res.add((x // 2, y // 2))
    return res


def make_level(n, attempt=0):
    t = (n - 1) / 34.0
    rng = random.Random(7919 * n + 17 + 100003 * attempt)
    blocks = [[" "] * BLOCKS for _ in range(BLOCKS)]  # [y][x]
    mirror = n % 3 != 0
    style = n % 4

    p_metal = 0.02 + 0.14 * t
    p_water = 0.00 + 0.10 * t
    p_brick = 0.34 - 0.10 * t
    p_tree = 0.07 + 0.04 * rng.random()
    p_wood = 0.04

    def pick():
        r = rng.random()
        for kind, p in (("x", p_metal), ("-", p_water), ("b", p_brick), ("f", p_tree), ("s", p_wood)):
            if r < p:
                return kind
            r -= p
        return " "

    width = 7 if mirror else BLOCKS
    for by in range(1, BLOCKS - 1):
        for bx in range(width):
            if style == 0:  # scattered
                k = pick()
            elif style == 1:  # pillars on a lattice, open lanes between
                k = pick() if (bx % 2 == 1 and by % 2 == 1) else (pick() if rng.random() < 0.25 else " ")
            elif style == 2:  # long horizontal walls with breaks
                k = pick() if by % 3 != 0 else (" " if rng.random() < 0.2 else "b")
                if by % 3 == 0 and rng.random() < t:
                    k = "x" if rng.random() < 0.5 else "s"
            else:  # vertical walls
                k = pick() if bx % 3 != 1 else (" " if rng.random() < 0.25 else "b")
                if bx % 3 == 1 and rng.random() < t * 0.6:
                    k = "x"
            blocks[by][bx] = k
    if mirror:
        for by in range(BLOCKS):
            for bx in range(7, BLOCKS):
                blocks[by][bx] = blocks[by][BLOCKS - 1 - bx]

    # Lakes and tree groves as blobs, so water reads as water and not as puddles.
    for _ in range(int(t * 3 + rng.random() * 1.5)):
        cx, cy = rng.randrange(1, 12), rng.randrange(2, 9)
        for dy in (-1, 0, 1):
            for dx in (-1, 0, 1):
                if rng.random() < 0.7 and 0 <= cx + dx < BLOCKS and 0 <= cy + dy < BLOCKS:
                    blocks[cy + dy][cx + dx] = "-"
    for _ in range(1 + rng.randrange(3)):
        cx, cy = rng.randrange(0, 13), rng.randrange(2, 11)
        for dy in (-1, 0, 1):
            for dx in (-1, 0, 1):
                if rng.random() < 0.6 and 0 <= cx + dx < BLOCKS and 0 <= cy + dy < BLOCKS:
                    blocks[cy + dy][cx + dx] = "f"

    # Barrier rows of metal or water with a few gaps: the routes get longer.
    barriers = 0 if n < 8 else 1 if n < 18 else 2 if n < 28 else 3
    rows = rng.sample([3, 5, 7, 9], barriers)
    for by in rows:
        kind = "x" if rng.random() < 0.6 else "-"
        gaps = max(1, 4 - barriers + rng.randrange(2))
        gap_cols = set(rng.sample(range(BLOCKS), gaps))
        for bx in range(BLOCKS):
            blocks[by][bx] = " " if bx in gap_cols else kind
        # A gap leads somewhere: the blocks just above and below it are open.
        for bx in gap_cols:
            for dy in (-1, 1):
                if blocks[by + dy][bx] in "x-":
                    blocks[by + dy][bx] = " "

    # Early levels give the base an outer guard of brick; late ones none.
    if n <= 12:
        for (bx, by) in [(4, 10), (5, 10), (6, 10), (7, 10), (8, 10), (3, 11), (9, 11)]:
            blocks[by][bx] = "b"
    elif n <= 22:
        for (bx, by) in [(5, 10), (7, 10)]:
            blocks[by][bx] = "b"
    else:
        # Late levels: only the ring itself stands between the enemy and the base.
        for (bx, by) in [(5, 10), (6, 10), (7, 10)]:
            blocks[by][bx] = " "

    for (bx, by) in reserved_blocks(n):
        blocks[by][bx] = " "
    # The top row stays open so the enemy can leave its spawn points.
    for bx in range(BLOCKS):
        if blocks[0][bx] in "x-":
            blocks[0][bx] = " "

    grid = [[blocks[y // 2][x // 2] for x in range(SIZE)] for y in range(SIZE)]
    # Thin brick walls: some brick blocks keep only one half, so not every
    # wall is a fat square.
    for by in range(BLOCKS):
        for bx in range(BLOCKS):
            if blocks[by][bx] == "b" and rng.random() < 0.3:
                half = rng.randrange(4)
                for dy in (0, 1):
                    for dx in (0, 1):
                        gone = (half == 0 and dy == 0) or (half == 1 and dy == 1) or \
                               (half == 2 and dx == 0) or (half == 3 and dx == 1)
                        if gone:
                            grid[2 * by + dy][2 * bx + dx] = " "
    for (x, y) in RING:
        grid[y][x] = "b"
    for (x, y) in [BASE] + PLAYERS + enemy_spawns(n):
        for dy in (0, 1):
            for dx in (0, 1):
                grid[y + dy][x + dx] = " "
    bx, by = BASE
    grid[by][bx] = "1"
    for (x, y) in enemy_spawns(n):
        grid[y][x] = "0"
    players = PLAYERS if n % 6 != 5 else PLAYERS[:1]
    for (x, y) in players:
        grid[y][x] = "2"
    return grid


def reachable(grid, start):
    """Can a 2x2 tank drive from start to a cell beside the base?"""
    base = {(BASE[0] + dx, BASE[1] + dy) for dx in (0, 1) for dy in (0, 1)}
    goal = set()
    for (x, y) in base:
        for (dx, dy) in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            if (x + dx, y + dy) not in base:
                goal.add((x + dx, y + dy))

    def fits(x, y):
        return all(0 <= x + dx < SIZE and 0 <= y + dy < SIZE and grid[y + dy][x + dx] in OPEN
                   and (x + dx, y + dy) not in base for dx in (0, 1) for dy in (0, 1))

    seen, todo = {start}, [start]
    while todo:
        x, y = todo.pop()
        if any((x + dx, y + dy) in goal for dx in (0, 1) for dy in (0, 1)):
            return True
        for (dx, dy) in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            nxt = (x + dx, y + dy)
            if nxt not in seen and fits(*nxt):
                seen.add(nxt)
                todo.append(nxt)
    return False


def main():
    out = os.path.dirname(os.path.abspath(__file__)) if len(sys.argv) < 2 else sys.argv[1]
    seen = set()
    for n in range(1, 36):
        # A draw that walls an enemy spawn off from the base is thrown away.
        for attempt in range(200):
            grid = make_level(n, attempt)
            if all(reachable(grid, s) for s in enemy_spawns(n)):
                break
        else:
            sys.exit("level %d: no draw lets every enemy spawn reach the base" % n)
        text = "".join("".join(row) + "\n" for row in grid)
        if text in seen:
            sys.exit("level %d repeats an earlier one" % n)
        seen.add(text)
        with open(os.path.join(out, "Dunmark-level-%02d.mtc" % n), "w", newline="\n") as f:
            f.write(text)


if __name__ == "__main__":
    main()
