// The same page operations as the browser benchmark, through Playwright, for comparison.
// Usage: node playwright-bench.js <page url> <batches> <calls per batch>
// Prints one JSON object: the median over batches of the mean time per call, in microseconds.
const { chromium } = require('playwright-core');

const [url, batches, calls] = [process.argv[2], Number(process.argv[3]), Number(process.argv[4])];

async function median(fn) {
  const means = [];
  for (let b = 0; b < batches; b++) {
    const start = process.hrtime.bigint();
    for (let i = 0; i < calls; i++) await fn(i);
    means.push(Number(process.hrtime.bigint() - start) / 1000 / calls);
  }
  means.sort((a, b) => a - b);
  return means[Math.floor(means.length / 2)];
}

(async () => {
  const browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--disable-background-networking',
           '--disable-component-update', '--disable-sync'],
  });
  try {
    const page = await browser.newPage();
    await page.goto(url);
    const form = page.locator('form').first();
    const result = {
      title: await median(() => page.title()),
      getValue: await median(() => form.locator('[name="f1"]').inputValue()),
      setValue: await median((i) => form.locator('[name="f1"]').fill('値' + i)),
      fill30: await median(async (i) => {
        for (let k = 1; k <= 30; k++) await form.locator(`[name="f${k}"]`).fill('値' + i);
      }),
    };
    console.log(JSON.stringify(result));
  } finally {
    await browser.close();
  }
})().catch((e) => { console.error(String(e)); process.exit(1); });
