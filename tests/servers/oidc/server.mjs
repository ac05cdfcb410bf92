// OpenID Provider for the tests (oidc-provider), serving the client credentials grant to one confidential client.
//
//   node server.mjs PORT_FILE
//
// Listens on 127.0.0.1 with a port chosen by the system and writes that port to PORT_FILE once it accepts
// connections. The issuer is http://127.0.0.1:PORT; the token endpoint is POST /token (see
// /.well-known/openid-configuration). Client "oidc-client", secret "oidc-secret", authenticated with HTTP Basic
// only (client_secret_basic). Without a "resource" parameter a token is issued for the resource
// "urn:oauthclient:test-api" (RFC 8707), whose scopes are "api:read" and "api:write"; without a "scope" it
// carries no scope. Tokens are opaque, live 3600 s and are kept in memory.
import crypto from 'node:crypto';
import fs from 'node:fs';
import http from 'node:http';

import Provider from 'oidc-provider';

const RESOURCE = 'urn:oauthclient:test-api';
const RESOURCE_SCOPES = 'api:read api:write';
const ACCESS_TOKEN_TTL = 3600;

function signingKeys() {
  // A key of its own per run instead of the provider's built-in development key; nothing outlives the process.
  const { privateKey } = crypto.generateKeyPairSync('rsa', { modulusLength: 2048 });
  const jwk = privateKey.export({ format: 'jwk' });
  return { keys: [{ ...jwk, alg: 'RS256', use: 'sig', kid: 'test-signing-key' }] };
}

function configuration(jwks) {
  return {
    clients: [{
      client_id: 'oidc-client',
      client_secret: 'oidc-secret',
      grant_types: ['client_credentials'],
      response_types: [],
      redirect_uris: [],
      token_endpoint_auth_method: 'client_secret_basic',
      scope: RESOURCE_SCOPES,
    }],
    clientAuthMethods: ['client_secret_basic'],
    scopes: ['openid', ...RESOURCE_SCOPES.split(' ')],
    cookies: { keys: [crypto.randomBytes(32).toString('hex')] },
    jwks,
    ttl: { ClientCredentials: ACCESS_TOKEN_TTL },
    features: {
      devInteractions: { enabled: false },
      clientCredentials: { enabled: true },
      introspection: { enabled: true },
      resourceIndicators: {
        enabled: true,
        defaultResource: () => RESOURCE,
        useGrantedResource: () => true,
        getResourceServerInfo: (ctx, resourceIndicator) => {
          if (resourceIndicator !== RESOURCE) {
            throw new Provider.errors.InvalidTarget();
          }
          return {
            scope: RESOURCE_SCOPES,
            audience: RESOURCE,
            accessTokenTTL: ACCESS_TOKEN_TTL,
            accessTokenFormat: 'opaque',
          };
        },
      },
    },
  };
}

function writePortFile(portFile, port) {
  const temporary = `${portFile}.tmp${process.pid}`;
  fs.writeFileSync(temporary, `${port}\n`);
  fs.renameSync(temporary, portFile);
}

function listenOnFreePort(server) {
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(0, '127.0.0.1', () => resolve(server.address().port));
  });
}

async function main() {
  const portFile = process.argv[2];
  if (!portFile) {
    process.stderr.write('usage: node server.mjs PORT_FILE\n');
    process.exit(2);
  }
  // The issuer names the port, so the port is taken before the provider is made.
  const server = http.createServer();
  const port = await listenOnFreePort(server);
  const provider = new Provider(`http://127.0.0.1:${port}`, configuration(signingKeys()));
  provider.on('server_error', (ctx, err) => process.stderr.write(`oidc: ${err.stack || err}\n`));
  server.on('request', provider.callback());
  writePortFile(portFile, port);

  const stop = () => server.close(() => process.exit(0));
  process.on('SIGTERM', stop);
  process.on('SIGINT', stop);
}

main().catch((err) => {
  process.stderr.write(`oidc: ${err.stack || err}\n`);
  process.exit(1);
});
