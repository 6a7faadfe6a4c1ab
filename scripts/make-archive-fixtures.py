#!/usr/bin/env python3
"""Writes small game archives for the import tests, with their own Othello rules and writers
made from the published descriptions of the formats, so that the program's readers are checked
against files they did not write.

    scripts/make-archive-fixtures.py tests/data/archives

Writes games.wtb with WTHOR.JOU and WTHOR.TRN (the tournament archive: 16-byte header, 68-byte
games, 20-byte players, 26-byte tournaments, little-endian), games.ggf (game server text),
games.txt (one game of moves per line) and expected.txt: per game "moves|black|white in the
tournament file|white in the server file|score|tournament", names in plain letters, the score
being black's discs with the empties given to the winner.
"""
import os
import random
import struct
import sys

DIRS = [(-1, -1), (-1, 0), (-1, 1), (0, -1), (0, 1), (1, -1), (1, 0), (1, 1)]


def start():
    b = {}
    b[(3, 3)] = 'W'; b[(4, 4)] = 'W'  # d4, e5 (row = rank - 1, col = file)
    b[(3, 4)] = 'B'; b[(4, 3)] = 'B'  # e4, d5
    return b


def flips(b, r, c, me):
    if (r, c) in b:
        return []
    other = 'W' if me == 'B' else 'B'
    out = []
    for dr, dc in DIRS:
        line = []
        rr, cc = r + dr, c + dc
        while 0 <= rr < 8 and 0 <= cc < 8 and b.get((rr, cc)) == other:
            line.append((rr, cc))
            rr += dr; cc += dc
        if line and 0 <= rr < 8 and 0 <= cc < 8 and b.get((rr, cc)) == me:
            out += line
    return out


def moves_for(b, me):
    return [(r, c) for r in range(8) for c in range(8) if flips(b, r, c, me)]


def play_game(rng, cut_after=None):
    """A random legal game; returns (moves as (r, c), sides as 'B'/'W' with passes, board)."""
    b = start()
    me = 'B'
    moves, turns = [], []
    while True:
        mine = moves_for(b, me)
        if not mine:
            other = 'W' if me == 'B' else 'B'
            if not moves_for(b, other):
                break
            turns.append((me, None))
            me = other
            continue
        if cut_after is not None and len(moves) >= cut_after:
            break
        r, c = rng.choice(mine)
        for sq in flips(b, r, c, me):
            b[sq] = me
        b[(r, c)] = me
        moves.append((r, c))
        turns.append((me, (r, c)))
        me = 'W' if me == 'B' else 'B'
    return moves, turns, b


def has_pass(turns):
    return any(sq is None for _, sq in turns)


def name_of(sq):
    return 'ABCDEFGH'[sq[1]] + str(sq[0] + 1)


def black_score(b):
    black = sum(1 for v in b.values() if v == 'B')
    white = sum(1 for v in b.values() if v == 'W')
    empties = 64 - black - white
    if black > white:
        black += empties
    elif black == white:
        black += empties // 2
    return black


def header(games, names, year):
    return struct.pack('<BBBBIHHBBBB', 20, 1, 5, 6, games, names, year, 8, 0, 22, 0)


def main(out):
    rng = random.Random(2001)
    games = []
    # Whole games, games with passes, and games that stop early (a side resigned, say).
    while len(games) < 24 or sum(has_pass(t) for _, t, _ in games) < 3:
        cut = rng.choice([None, None, None, 20, 41]) if len(games) < 30 else None
        g = play_game(rng, cut)
        if len(games) >= 24 and not has_pass(g[1]):
            continue
        games.append(g)

    players = ['Alpha, Anne', 'M\u00fcller Jos\u00e9', '\u00c9lodie \u00d8stergaard', 'Tanaka',
               'Nobody']
    ascii_players = ['Alpha, Anne', 'Muller Jose', 'Elodie Ostergaard', 'Tanaka', 'Nobody']
    tournaments = ['Championnat de France', "Coupe d'\u00e9t\u00e9"]
    ascii_tournaments = ['Championnat de France', "Coupe d'ete"]

    expected = []
    wtb = bytearray(header(len(games), 0, 2001))
    for i, (moves, turns, board) in enumerate(games):
        black, white = i % 4, (i + 1) % 4
        if i == 5:
            white = 900  # a number beyond the player file: an unknown player
        score = black_score(board)
        wtb += struct.pack('<HHHBB', i % 2, black, white, score, score)
        body = bytes(10 * (r + 1) + (c + 1) for r, c in moves)
        wtb += body + bytes(60 - len(body))
        expected.append('%s|%s|%s|%s|%d|%s' % (
            ''.join(name_of(m) for m in moves), ascii_players[black],
            ascii_players[white] if white < 4 else '', ascii_players[white if white < 4 else 4],
            score, ascii_tournaments[i % 2]))
    jou = bytearray(header(0, len(players), 0))
    for p in players:
        jou += p.encode('latin-1').ljust(20, b'\0')[:20]
    trn = bytearray(header(0, len(tournaments), 0))
    for t in tournaments:
        trn += t.encode('latin-1').ljust(26, b'\0')[:26]

    bo = '8 -------- -------- -------- ---O*--- ---*O--- -------- -------- -------- *'
    ggf = []
    for i, (moves, turns, board) in enumerate(games):
        black, white = i % 4, (i + 1) % 4
        if i == 5:
            white = 4
        score = black_score(board)
        parts = ['(;GM[Othello]PC[NOS]DT[2001.05.%02d_10:00:00.UTC]' % (i % 28 + 1),
                 'PB[%s]PW[%s]' % (players[black], players[white]),
                 'RB[1800.0]RW[1750.0]TI[05:00//02:00]TY[8]',
                 'RE[%+.3f]BO[%s]' % (2 * score - 64, bo)]
        for side, sq in turns:
            if sq is None:
                parts.append('%s[PA]' % side)
            else:
                parts.append('%s[%s/%.2f/%.2f]' % (side, name_of(sq).lower(), rng.uniform(-9, 9),
                                                   rng.uniform(0, 30)))
        ggf.append(''.join(parts) + ';)')
    # A game on another board and one from a random start: both skipped.
    ggf.append('(;GM[Othello]PC[NOS]PB[a]PW[b]TY[10]RE[+2.000]BO[10 x]B[d3];)')
    ggf.append('(;GM[Othello]PC[NOS]PB[a]PW[b]TY[8r16]RE[+2.000]BO[%s]B[f5];)' % bo)

    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, 'games.wtb'), 'wb') as f:
        f.write(wtb)
    with open(os.path.join(out, 'WTHOR.JOU'), 'wb') as f:
        f.write(jou)
    with open(os.path.join(out, 'WTHOR.TRN'), 'wb') as f:
        f.write(trn)
    with open(os.path.join(out, 'games.ggf'), 'w', encoding='utf-8', newline='\n') as f:
        f.write('\n'.join(ggf) + '\n')
    with open(os.path.join(out, 'games.txt'), 'w', newline='\r\n') as f:
        for moves, _, _ in games:
            f.write(''.join(name_of(m).lower() if j % 2 else name_of(m)
                            for j, m in enumerate(moves)) + '\n')
    with open(os.path.join(out, 'expected.txt'), 'w', encoding='utf-8', newline='\n') as f:
        f.write('\n'.join(expected) + '\n')


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'tests/data/archives')
