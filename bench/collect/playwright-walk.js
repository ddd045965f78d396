// The collection's page walk through Playwright, for comparison: log in through the site's
// one-time address, then page by page ("&apg=") read every link's address and text (and, on the
// sold list, the price cell and the cell after it) until a page has no item link.
// Usage: node playwright-walk.js <session url> <start address> <marker> <sold 0|1> <resolver rules>
// Prints one JSON object: seconds, rows, pages.
const { chromium } = require('playwright-core');

const [sessionUrl, start, marker, sold, rules] = process.argv.slice(2);

(async () => {
  const browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--disable-background-networking',
           '--disable-component-update', '--disable-sync', `--host-resolver-rules=${rules}`],
  });
  try {
    const page = await browser.newPage();
    await page.goto(sessionUrl);
    const began = process.hrtime.bigint();
    let rows = 0, pages = 0;
    for (let n = 1; ; n++) {
      await page.goto(n === 1 ? start : `${start}&apg=${n}`);
      const found = await page.$$eval('a', (links, [marker, sold]) => {
        const text = (node) => {
          for (let level = 0; node && level < 4; level++) {
            if (!node.firstChild) return null;
            if (node.firstChild.nodeType === 3) return node.firstChild.nodeValue;
            node = node.firstChild;
          }
          return null;
        };
        const out = [];
        for (const a of links) {
          const at = a.href.indexOf(marker);
          if (at < 0 || at >= 20) continue;
          const title = a.firstChild ? a.firstChild.nodeValue : null;
          if (!title) continue;
          const row = [a.href, title];
          if (sold) {
            const cell = a.closest('td');
            const price = cell ? text(cell.nextSibling) : null;
            if (price !== null) row.push(price.split(' 円')[0], text(cell.nextSibling.nextSibling));
          }
          out.push(row);
        }
        return out;
      }, [marker, sold === '1']);
      if (found.length === 0) break;
      rows += found.length;
      pages = n;
    }
    const seconds = Number(process.hrtime.bigint() - began) / 1e9;
    console.log(JSON.stringify({ seconds, rows, pages }));
  } finally {
    await browser.close();
  }
})().catch((e) => { console.error(String(e)); process.exit(1); });
