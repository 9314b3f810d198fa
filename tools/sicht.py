#!/usr/bin/env python3
# usage: tools/sicht.py MATCH.pgn...  (games played by the match runner, engine named "Velkaris")
# In lost games: when the opponent first sees +1.50 or more, what does our engine think,
# and how many of our moves later does it agree (our score <= -1.50)?
import re,glob,sys
from aufruf import argumente
tot=0; blind=0; lag=[]; phase=[]
for f in argumente('usage: tools/sicht.py MATCH.pgn...', 1, dateien_ab=0):
    for g in open(f).read().split('[Event ')[1:]:
        w=re.search(r'\[White "(\w+)"',g).group(1); res=re.search(r'\[Result "([^"]+)"',g).group(1)
        we_white = w=='Velkaris'
        if not ((res=='1-0' and not we_white) or (res=='0-1' and we_white)): continue
        body=g.split('\n\n',1)[1]
        fen=re.search(r'\[FEN "[^"]* (w|b) ',g); first_white = (fen is None) or fen.group(1)=='w'
        cm=re.findall(r'\{([+-]?[\d.]+|[+-]?M\d+)/(\d+)\s+[\d.]+s',body)
        def val(s):
            if 'M' in s: return 100.0 if not s.startswith('-') else -100.0
            return float(s)
        tot+=1
        for i,(sc,d) in enumerate(cm):
            white_moving = (i%2==0)==first_white
            ours = white_moving==we_white
            if not ours and val(sc)>=1.5:
                # our next scores
                nx=[val(cm[j][0]) for j in range(i+1,len(cm),2)]
                if nx and nx[0]>-0.5: blind+=1
                k=next((n for n,v in enumerate(nx) if v<=-1.5),None)
                if k is not None: lag.append(k)
                phase.append(i//2)
                break
print(f"lost games {tot}; opponent sees >=+1.5 first at our move ~{sum(phase)/max(1,len(phase)):.0f} (avg); "
      f"at that point we still think >-0.5 in {blind} of them; we agree (<=-1.5) after {sum(lag)/max(1,len(lag)):.1f} of our moves on average (median {sorted(lag)[len(lag)//2] if lag else '-'})")
