// The openid-client contender of the comparison bench: clientCredentialsGrant against a configuration that names
// only the token endpoint (no discovery), the client authenticated with HTTP Basic, Node's fetch keeping its
// connection alive for the whole run. Speaks bench_contender's line protocol on standard input:
// "run MS", "count N" -> "REQUESTS SECONDS"; "memory" -> "RSS_KIB PEAK_KIB"; "quit".
// Usage: node openid_client_contender.mjs URL   (NODE_EXTRA_CA_CERTS names the CA over HTTPS)
import * as client from 'openid-client';
import { readFileSync } from 'node:fs';
import { createInterface } from 'node:readline';

const tokenUrl = new URL(process.argv[2]);
const config = new client.Configuration(
  { issuer: tokenUrl.origin, token_endpoint: tokenUrl.href },
  'demo-client',
  undefined,
  client.ClientSecretBasic('demo-secret'),
);
if (tokenUrl.protocol === 'http:') client.allowInsecureRequests(config);

async function requestOnce() {
  const token = await client.clientCredentialsGrant(config);
  if (token.access_token !== 'fixture-access-token') throw new Error(`unexpected token ${token.access_token}`);
}

function memory() {
  const status = readFileSync('/proc/self/status', 'utf8');
  const field = (name) => (status.match(new RegExp(`^${name}:\\s+(\\d+)`, 'm')) || [, '-1'])[1];
  return `${field('VmRSS')} ${field('VmHWM')}`;
}

const lines = createInterface({ input: process.stdin });
for await (const line of lines) {
  const [command, value] = line.trim().split(/\s+/);
  if (!command || command === 'quit') break;
  if (command === 'memory') {
    console.log(memory());
    continue;
  }
  const n = Number(value);
  const start = process.hrtime.bigint();
  const elapsed = () => Number(process.hrtime.bigint() - start) / 1e9;
  let done = 0;
  try {
    while (command === 'run' ? elapsed() * 1000 < n : done < n) {
      await requestOnce();
      done += 1;
    }
  } catch (error) {
    console.log(`error openid-client: ${error.message}`);
    process.exit(1);
  }
  console.log(`${done} ${elapsed().toFixed(6)}`);
}
process.exit(0);
